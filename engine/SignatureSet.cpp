#include "engine/SignatureSet.h"

#include "engine/IoFailure.h"
#include "engine/SignatureFormats.h"
#include "engine/TextFileWriter.h"

#include <windows.h>

#include <optional>

namespace {

constexpr const char* SetExtensions[] = {".txt", ".htm", ".rtf"};

bool IsFile(const std::string& path)
{
    // Any failure to read the attributes (no such file, no such folder, no access to the
    // folder) means there is no file to update.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

} // namespace

std::vector<std::string> SignatureSiblings(const std::string& path)
{
    const SplitPath split = SplitExtension(path);
    bool inSet = false;
    for (const char* extension : SetExtensions)
        inSet = inSet || split.extension == extension;
    std::vector<std::string> siblings;
    if (!inSet)
        return siblings;
    for (const char* extension : SetExtensions) {
        const std::string sibling = split.stem + extension;
        if (split.extension != extension && IsFile(sibling))
            siblings.push_back(sibling);
    }
    return siblings;
}

std::vector<SignatureFileContent> SignatureSetContents(const std::string& path, const std::string& text)
{
    const unsigned codePage = GetACP();
    std::vector<SignatureFileContent> contents;
    contents.push_back({path, SignatureInFormat(SignatureFormatOf(path), text, codePage)});
    for (const std::string& sibling : SignatureSiblings(path))
        contents.push_back({sibling, SignatureInFormat(SignatureFormatOf(sibling), text, codePage)});
    return contents;
}

std::vector<SiblingOpenFailure> WriteSignatureSiblings(std::span<const SignatureFileContent> siblings)
{
    std::vector<SiblingOpenFailure> failures;
    for (const SignatureFileContent& sibling : siblings) {
        std::optional<TextFileWriter> file;
        try {
            file.emplace(sibling.path, TextFileWriter::IfMissing::Fail);
        } catch (const IoFailure& failure) {
            // Deleted since it was found: there is nothing left to keep in step.
            if (failure.Code() != IoCode::FileNotFound)
                failures.push_back({sibling.path, failure.what()});
            continue;
        }
        file->Write(sibling.bytes);
        file->Close();
    }
    return failures;
}
