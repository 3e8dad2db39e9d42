#include "engine/SignatureTarget.h"

#include "engine/OwnFiles.h"

#include <windows.h>

#include <algorithm>

SignatureTarget::SignatureTarget(const std::string& path, std::vector<std::string> protectedFiles)
    : protectedFiles_(std::move(protectedFiles))
{
    // A slip in the file dialog must not turn a database or a side file into a signature,
    // and a database named like the signature must not become one of its set.
    for (SignatureSetFile& file : SignatureSetFiles(path)) {
        std::optional<std::string> refusal;
        if (files_.empty())
            refusal = RefusedTarget(file.path, protectedFiles_);
        else if (NamesOneOf(file.path, protectedFiles_))
            refusal = OwnFileMessage;
        files_.push_back({std::move(file), std::move(refusal)});
    }
    for (const std::string& file : protectedFiles_) {
        if (const std::optional<FileIdentity> identity = IdentityOf(file))
            protectedIdentities_.push_back(*identity);
    }
}

bool SignatureTarget::ClassifiedFor(const std::string& path, const std::vector<std::string>& protectedFiles) const
{
    return files_.front().file.path == path && protectedFiles_ == protectedFiles;
}

std::vector<SignatureFileContent> SignatureTarget::Contents(const std::string& text) const
{
    const unsigned codePage = GetACP();
    std::vector<SignatureFileContent> contents;
    contents.reserve(files_.size());
    // Read at every change, not classified: the user or the mail client may save a file of
    // the set in another encoding at any time. The chosen file, already open for writing,
    // still holds its old text, which is written over only after this.
    for (const File& file : files_) {
        contents.push_back(
            {file.file.path, SignatureInFormat(file.file.format, text, codePage, EncodingOfFile(file.file.path))});
    }
    return contents;
}

bool SignatureTarget::Protects(HANDLE file) const
{
    // The index first: only a file whose index is a protected file's needs the volume asked.
    const std::optional<std::uint64_t> index = FileIndexOf(file);
    if (!index || std::none_of(protectedIdentities_.begin(), protectedIdentities_.end(),
                               [&](const FileIdentity& identity) { return identity.Index() == *index; }))
        return false;
    const std::optional<FileIdentity> identity = IdentityOf(file);
    return identity && std::find(protectedIdentities_.begin(), protectedIdentities_.end(), *identity) !=
                           protectedIdentities_.end();
}
