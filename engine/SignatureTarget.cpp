#include "engine/SignatureTarget.h"

#include "engine/OwnFiles.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

SignatureTarget::SignatureTarget(const std::string& path, std::vector<std::string> protectedFiles,
                                 const std::vector<std::string>& thunderbirdFiles)
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
        const bool readByThunderbird = !thunderbirdFiles.empty() && NamesOneOf(file.path, thunderbirdFiles);
        files_.push_back({std::move(file), std::move(refusal), readByThunderbird});
    }
    written_.resize(files_.size());
    for (const std::string& file : protectedFiles_) {
        if (const std::optional<FileIdentity> identity = IdentityOf(file))
            protectedIdentities_.push_back(*identity);
    }
}

bool SignatureTarget::ClassifiedFor(const std::string& path, const std::vector<std::string>& protectedFiles) const
{
    return files_.front().file.path == path && protectedFiles_ == protectedFiles;
}

std::vector<SignatureFileContent> SignatureTarget::Contents(const std::string& text, bool delimiterFirst) const
{
    const unsigned codePage = GetACP();
    std::vector<SignatureFileContent> contents;
    contents.reserve(files_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const DelimiterLine delimiter = !delimiterFirst                ? DelimiterLine::None
                                        : files_[i].readByThunderbird ? DelimiterLine::FirstForThunderbird
                                                                       : DelimiterLine::First;
        contents.push_back({files_[i].file.path,
                            SignatureInFormat(files_[i].file.format, text, codePage, EncodingNow(i), delimiter)});
    }
    return contents;
}

TextFileEncoding SignatureTarget::EncodingNow(std::size_t file) const
{
    // Asked at every change, not classified: the user or the mail client may save a file of
    // the set in another encoding at any time. Only a file nobody has written since the
    // program did is spared the reading. The chosen file, already open for writing, still
    // holds its old text, which is written over only after this.
    const std::string& path = files_[file].file.path;
    if (const std::optional<WrittenEncoding>& known = written_[file]) {
        if (const std::optional<FileStamp> stamp = StampOf(path); stamp && *stamp == known->stamp)
            return known->encoding;
    }
    return EncodingOfFile(path);
}

void SignatureTarget::Written(const SignatureFileContent& content, const FileStamp& stamp)
{
    const auto file = std::find_if(files_.begin(), files_.end(),
                                   [&](const File& candidate) { return candidate.file.path == content.path; });
    if (file == files_.end())
        return;
    // What reading the file back would tell: the bytes as far as a reading looks.
    const std::string_view bytes = content.bytes;
    const TextFileEncoding encoding =
        EncodingOfBytes(bytes.substr(0, EncodingSampleSize), bytes.size() <= EncodingSampleSize);
    written_[static_cast<std::size_t>(file - files_.begin())] = WrittenEncoding{stamp, encoding};
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
