#pragma once
#include <windows.h>

#include <string>

// A file made immutable from the Linux side for as long as this lives, as a file on a
// read-only medium or one an administrator locked is: Wine runs as root here, so neither
// the read-only attribute nor the file's permissions would stop a write, while the flag
// does. Wine runs a Linux program named by its Linux path as a process of its own. Where
// there is no Wine (Windows itself) or the flag cannot be set, Made() is false, and the
// test says it cannot run.
class ImmutableFile {
public:
    explicit ImmutableFile(const std::string& path) : path_(path), unixPath_(UnixPathOf(path))
    {
        if (unixPath_.empty() || !Chattr("+i"))
            return;
        // Wine neither waits for a Linux program nor gives its exit code: the file tells, once
        // chattr has run, which takes far less than the bound.
        for (int tries = 0; tries < 100 && !made_; ++tries) {
            made_ = !Writable();
            if (!made_)
                Sleep(20);
        }
    }
    ~ImmutableFile()
    {
        if (!made_)
            return;
        Chattr("-i"); // best effort: the test directory's removal then reports what is left
        for (int tries = 0; tries < 100 && !Writable(); ++tries)
            Sleep(20);
    }
    ImmutableFile(const ImmutableFile&) = delete;
    ImmutableFile& operator=(const ImmutableFile&) = delete;

    bool Made() const noexcept { return made_; }

private:
    bool Writable() const
    {
        const HANDLE writable = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (writable == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(writable);
        return true;
    }

    static std::string UnixPathOf(const std::string& path)
    {
        using UnixFileName = char*(CDECL*)(const WCHAR*);
        const auto unixFileName = reinterpret_cast<UnixFileName>(
            reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "wine_get_unix_file_name")));
        if (!unixFileName)
            return {};
        std::wstring wide(path.size(), L'\0');
        wide.resize(static_cast<std::size_t>(
            MultiByteToWideChar(CP_ACP, 0, path.data(), static_cast<int>(path.size()), wide.data(), static_cast<int>(wide.size()))));
        char* unixPath = unixFileName(wide.c_str());
        if (!unixPath)
            return {};
        std::string result = unixPath;
        HeapFree(GetProcessHeap(), 0, unixPath);
        return result;
    }

    bool Chattr(const char* flag) const
    {
        std::string command = std::string("/usr/bin/chattr ") + flag + " \"" + unixPath_ + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION process{};
        if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
            return false;
        WaitForSingleObject(process.hProcess, INFINITE);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
        return true;
    }

    std::string path_;
    std::string unixPath_;
    bool made_ = false;
};
