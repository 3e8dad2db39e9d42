#pragma once
#include "engine/FileIdentity.h"
#include "engine/FileStamp.h"
#include "engine/SignatureFamily.h"
#include "engine/TextFileEncoding.h"
#include "engine/WriterSettings.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// The signature file the settings name, classified once: the files of its family (the chosen
// one first, then the siblings that existed then), each file's format, the guard's verdict
// on each, and the identities of the protected files. Finding these asks the file system
// about every sibling and every protected file; a change only asks whether the path and
// the protected files it was made for still hold, and a new value is made when they do
// not. What may have changed since (a file of the family replaced by a link to a database, or
// by a copy of one) is asked of each file as it is opened for writing, which costs one cheap
// question and, for a file someone else has written since the program did, a look at its
// first bytes through the same handle.
class SignatureTarget {
public:
    struct File {
        SignatureFamilyFile file;
        // Why the signature must not be written there, or nothing when it may: for the chosen
        // file also when it is named as a database is (".sigs").
        std::optional<std::string> refusal;
        // One of Thunderbird's identities names the file.
        bool readByThunderbird = false;
    };

    // thunderbirdFiles: the files Thunderbird reads (WriterSettings::ThunderbirdSignatureFiles).
    SignatureTarget(const std::string& path, std::vector<std::string> protectedFiles,
                    const std::vector<std::string>& thunderbirdFiles = {});

    bool ClassifiedFor(const std::string& path, const std::vector<std::string>& protectedFiles) const;
    // The chosen file first.
    const std::vector<File>& Files() const noexcept { return files_; }
    // The composed text (CR LF) in each file's format and in the encoding the file has now
    // (see TextFileEncoding.h), in the order of Files(): everything is composed before any
    // file is written, and each says whether the file is as the program last wrote it. A
    // file whose bytes tell no encoding takes the one the settings keep for its path; one
    // that tells another has it kept there.
    // The text is in the ANSI code page (every signature but a song's: an ANSI file then
    // takes it byte for byte, unconverted) or in wide characters.
    using ComposedText = std::variant<std::string, std::wstring>;
    // delimiterFirst: the text starts with the delimiter line the writer added.
    std::vector<SignatureFileContent> Contents(const ComposedText& text, const WriterSettings& settings,
                                               bool delimiterFirst = false,
                                               const std::optional<FileStamp>& chosenStamp = std::nullopt) const;
    // A file of the family has been written with these contents and has this stamp now: until
    // its stamp changes, its encoding is the one it was written in, and it need not be read.
    void Written(const SignatureFileContent& content, const FileStamp& stamp);
    // Whether the open file is one of the protected files, whatever path reached it.
    bool Protects(HANDLE file) const;

private:
    // The encoding of a file as the program last wrote it, and the stamp it was left with.
    struct WrittenEncoding {
        FileStamp stamp;
        TextFileEncoding encoding;
    };
    // asWritten: set when the file is as the program last wrote it; stampKnown: its stamp,
    // when its open handle has told it already.
    TextFileEncoding EncodingNow(std::size_t file, const WriterSettings& settings, bool& asWritten,
                                 const std::optional<FileStamp>& stampKnown) const;

    std::vector<std::string> protectedFiles_;
    std::vector<FileIdentity> protectedIdentities_; // of those that existed
    std::vector<File> files_;
    std::vector<std::optional<WrittenEncoding>> written_; // by file, as files_
};
