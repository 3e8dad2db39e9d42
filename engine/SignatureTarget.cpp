#include "engine/SignatureTarget.h"

#include "engine/OwnFiles.h"
#include "engine/WholeRecords.h"

#include <windows.h>

#include <algorithm>

SignatureTarget::SignatureTarget(const std::string& path, std::vector<std::string> protectedFiles,
                                 const std::vector<std::string>& thunderbirdFiles)
    : protectedFiles_(std::move(protectedFiles))
{
    // A slip in the file dialog must not turn a database or a side file into a signature,
    // and a database named like the signature must not become one of its family.
    for (SignatureFamilyFile& file : SignatureFamilyFiles(path)) {
        std::optional<std::string> refusal;
        if (files_.empty()) {
            refusal = RefusedTarget(file.path, protectedFiles_);
            // A database nobody lists is still one: its name tells it before a byte is read.
            if (!refusal && NamedAsDatabase(file.path))
                refusal = OwnFileMessage;
        } else if (NamesOneOf(file.path, protectedFiles_)) {
            refusal = OwnFileMessage;
        }
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

std::vector<SignatureFileContent> SignatureTarget::Contents(const ComposedText& text, const WriterSettings& settings,
                                                            bool delimiterFirst,
                                                            const std::optional<FileStamp>& chosenStamp) const
{
    const unsigned codePage = GetACP();
    std::vector<SignatureFileContent> contents;
    contents.reserve(files_.size());
    for (std::size_t i = 0; i < files_.size(); ++i) {
        const SignatureFormat format = files_[i].file.format;
        // RTF is 7-bit text whatever the file held: its old bytes need not be read.
        bool asWritten = false;
        const TextFileEncoding encoding = format == SignatureFormat::RichText
                                              ? TextFileEncoding::Ansi
                                              : EncodingNow(i, settings, asWritten, i == 0 ? chosenStamp : std::nullopt);
        const DelimiterLine delimiter = !delimiterFirst                ? DelimiterLine::None
                                        : files_[i].readByThunderbird ? DelimiterLine::FirstForThunderbird
                                                                       : DelimiterLine::First;
        std::string bytes;
        if (encoding != TextFileEncoding::Utf32)
            bytes = std::visit(
                [&](const auto& composed) { return SignatureInFormat(format, composed, codePage, encoding, delimiter); },
                text);
        contents.push_back({files_[i].file.path, std::move(bytes), encoding, asWritten});
    }
    return contents;
}

TextFileEncoding SignatureTarget::EncodingNow(std::size_t file, const WriterSettings& settings, bool& asWritten,
                                              const std::optional<FileStamp>& stampKnown) const
{
    // Asked at every change, not classified: the user or the mail client may save a file of
    // the set in another encoding at any time. Only a file nobody has written since the
    // program did is spared the reading. The chosen file, already open for writing, still
    // holds its old text, which is written over only after this.
    const std::string& path = files_[file].file.path;
    if (const std::optional<WrittenEncoding>& known = written_[file]) {
        const std::optional<FileStamp> stamp = stampKnown ? stampKnown : StampOf(path);
        if (stamp && *stamp == known->stamp) {
            asWritten = true;
            return known->encoding;
        }
    }
    const std::optional<TextFileEncoding> shown =
        EncodingShownByFile(path, files_[file].file.format == SignatureFormat::Html);
    // Kept by the full path: "sig.txt" in one folder is another file than in the next. Made
    // here, not when classified, as a relative path follows the current folder.
    const std::string full = PlainFullPath(path);
    const std::string& key = full.empty() ? path : full;
    const std::optional<TextFileEncoding> kept = settings.KeptEncoding(key);
    if (!shown)
        return kept.value_or(TextFileEncoding::Ansi);
    // Nothing kept already means ANSI, and a UTF-32 file is refused, not written.
    if (*shown != kept.value_or(TextFileEncoding::Ansi) && *shown != TextFileEncoding::Utf32)
        settings.KeepEncoding(key, *shown);
    return *shown;
}

void SignatureTarget::Written(const SignatureFileContent& content, const FileStamp& stamp)
{
    const auto file = std::find_if(files_.begin(), files_.end(),
                                   [&](const File& candidate) { return candidate.file.path == content.path; });
    if (file == files_.end())
        return;
    written_[static_cast<std::size_t>(file - files_.begin())] = WrittenEncoding{stamp, content.encoding};
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
