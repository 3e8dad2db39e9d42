#include "engine/SignatureFamily.h"

#include "engine/IoFailure.h"
#include "engine/OwnFiles.h"
#include "engine/TextFileWriter.h"
#include "engine/WholeRecords.h"
#include "base/AsciiText.h"
#include "base/FileExists.h"

#include <windows.h>

#include <optional>

namespace {

constexpr const char* SetExtensions[] = {".txt", ".htm", ".rtf"};

bool LargerThanASignature(const std::string& path)
{
    WIN32_FILE_ATTRIBUTE_DATA attributes;
    // A size that cannot be read shows as the open's own failure just after.
    if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &attributes))
        return false;
    const ULONGLONG size = (static_cast<ULONGLONG>(attributes.nFileSizeHigh) << 32) | attributes.nFileSizeLow;
    return size > LargestSignatureSibling;
}

} // namespace

std::vector<SignatureFamilyFile> SignatureFamilyFiles(const std::string& path)
{
    const SplitPath split = SplitExtension(path);
    std::vector<SignatureFamilyFile> files{{path, FormatOfExtension(split.extension)}};
    bool inSet = false;
    for (const char* extension : SetExtensions)
        inSet = inSet || base::AsciiEqualNoCase(split.extension, extension);
    if (!inSet)
        return files;
    for (const char* extension : SetExtensions) {
        const std::string sibling = split.stem + extension;
        // A file that cannot be seen (no such folder, no access to it) has nothing to update.
        if (!base::AsciiEqualNoCase(split.extension, extension) && base::FileExists(sibling))
            files.push_back({sibling, FormatOfExtension(extension)});
    }
    return files;
}

std::vector<SiblingOpenFailure> WriteSignatureSiblings(std::span<const SignatureFileContent> siblings,
                                                       const std::function<bool(HANDLE)>& isProtected,
                                                       const SiblingWritten& written)
{
    std::vector<SiblingOpenFailure> failures;
    for (const SignatureFileContent& sibling : siblings) {
        if (LargerThanASignature(sibling.path)) {
            failures.push_back({sibling.path, SiblingTooLargeMessage});
            continue;
        }
        std::optional<TextFileWriter> file;
        bool ownFile = false;
        try {
            file.emplace(sibling.path, TextFileWriter::IfMissing::Fail);
            ownFile = isProtected(file->Handle()) ||
                      (!sibling.asWritten && HoldsSignatureRecords(file->Handle()));
        } catch (const IoFailure& failure) {
            if (file)
                file->CloseUnchanged(); // nothing written yet: the sibling keeps what it holds
            // Deleted since it was found: there is nothing left to keep in step.
            if (failure.Code() != IoCode::FileNotFound)
                failures.push_back({sibling.path, failure.what()});
            continue;
        }
        if (ownFile) {
            file->CloseUnchanged();
            failures.push_back({sibling.path, OwnFileMessage});
            continue;
        }
        file->Write(sibling.bytes);
        if (const std::optional<FileStamp> stamp = file->Close())
            written(sibling, *stamp);
    }
    return failures;
}
