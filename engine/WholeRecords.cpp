#include "engine/WholeRecords.h"

#include "engine/IoFailure.h"
#include "engine/SignatureFormats.h"
#include "engine/SignatureRecord.h"
#include "base/AsciiText.h"

#include <windows.h>

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

bool LooksLikeDatabase(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes) ||
        (attributes.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        return false;
    if (NamedAsDatabase(path))
        return true;
    const ULONGLONG size = (static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    return size > 0 && size % SignatureRecordSize == 0;
}
