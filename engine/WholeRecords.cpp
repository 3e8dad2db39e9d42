#include "engine/WholeRecords.h"

#include "engine/IoFailure.h"
#include "engine/SignatureFormats.h"
#include "engine/SignatureRecord.h"
#include "base/AsciiText.h"

#include <windows.h>

#include <string_view>

void RefusePartialRecords(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        throw LastWindowsFailure();
    const ULONGLONG size = (static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    if (size % SignatureRecordSize != 0)
        throw NotADatabase();
}

void RefusePartialRecords(const RecordFile& file)
{
    if (!file.HoldsWholeRecords())
        throw NotADatabase();
}

bool NamedAsDatabase(const std::string& path)
{
    return base::AsciiEqualNoCase(SplitExtension(path).extension, ".sigs");
}

bool HoldsSignatureRecords(HANDLE file)
{
    // A pipe or the console would wait for input here, and holds no records anyway.
    if (GetFileType(file) != FILE_TYPE_DISK)
        return false;
    char first[SignatureRecordSize];
    DWORD read = 0;
    if (!ReadFile(file, first, sizeof first, &read, nullptr))
        throw LastWindowsFailure();
    if (read == 0)
        return false;
    LARGE_INTEGER start{};
    if (!SetFilePointerEx(file, start, nullptr, FILE_BEGIN))
        throw LastWindowsFailure();
    if (read < sizeof first)
        return false; // shorter than one record
    const std::string_view bytes(first, read);
    // FF FE also starts UTF-32's little-endian mark.
    if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF") ||
        bytes.starts_with(std::string_view("\0\0\xFE\xFF", 4)) || bytes.find('\0') == std::string_view::npos)
        return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file, &size))
        throw LastWindowsFailure();
    return size.QuadPart % SignatureRecordSize == 0;
}
