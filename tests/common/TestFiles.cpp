#include "tests/common/TestFiles.h"

#include "base/Handles.h"

#include <windows.h>

#include <stdexcept>

std::string ReadBytes(const std::string& path)
{
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot read " + path);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.Get(), &size))
        throw std::runtime_error("cannot size " + path);
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!bytes.empty() && (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) ||
                           got != bytes.size()))
        throw std::runtime_error("short read of " + path);
    return bytes;
}

void WriteBytes(const std::string& path, const std::string& bytes)
{
    const base::FileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        throw std::runtime_error("cannot write " + path);
    DWORD written = 0;
    if (!bytes.empty() && (!WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                           written != bytes.size()))
        throw std::runtime_error("short write of " + path);
}

bool FileExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> OtherSpellingsOf(const std::string& path)
{
    std::vector<std::string> spellings = {"\\\\?\\" + path, "\\\\.\\" + path};
    char shortName[MAX_PATH] = "";
    const DWORD length = GetShortPathNameA(path.c_str(), shortName, sizeof shortName);
    if (length > 0 && length < sizeof shortName && path != shortName)
        spellings.push_back(shortName);
    // Wine's own export; Windows has no such call, and a subst drive there is the test's.
    using UnixFileName = char*(CDECL*)(const WCHAR*);
    const auto unixFileName = reinterpret_cast<UnixFileName>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
    wchar_t wide[MAX_PATH] = L"";
    if (unixFileName && MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH) > 0) {
        if (char* unixPath = unixFileName(wide)) {
            std::string onZ = std::string("Z:") + unixPath;
            // Wine answers through the prefix's link named "c:", a colon no Windows path has
            // inside it; the folder the link stands for is the same.
            const std::size_t link = onZ.find("/dosdevices/c:/");
            if (link != std::string::npos)
                onZ.replace(link, 15, "/drive_c/");
            for (char& c : onZ)
                c = c == '/' ? '\\' : c;
            spellings.push_back(onZ);
            HeapFree(GetProcessHeap(), 0, unixPath); // Wine's documented way to free it
        }
    }
    return spellings;
}
