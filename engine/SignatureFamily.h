#pragma once
#include "engine/FileStamp.h"
#include "engine/SignatureFormats.h"

#include <windows.h>

#include <functional>
#include <span>
#include <string>
#include <vector>

// A signature's family: the signature kept in several formats beside each other, one base
// name with .txt, .htm and .rtf, as some mail clients keep it: writing one of them rewrites
// the others that exist, each in its own format, so the client's plain, HTML and rich-text
// mail agree. (A family is one signature's files; a profile is a signature of its own.)

// A sibling larger than this is a document of the user's that shares the signature's name
// (report.txt beside report.rtf), not a signature: it is never rewritten.
inline constexpr unsigned long long LargestSignatureSibling = 1 << 20;
inline constexpr const char* SiblingTooLargeMessage = "It is too large to be a signature (over 1 MiB)";

// One file of the family and the bytes it is to hold.
struct SignatureFileContent {
    std::string path;
    std::string bytes;
    // The encoding the bytes are in; a UTF-32 file is none the program writes, and its
    // bytes are empty.
    TextFileEncoding encoding = TextFileEncoding::Ansi;
    // Nobody has written the file since the program did (its stamp is the one the program
    // left): it holds the program's own text, so what it holds need not be looked at.
    bool asWritten = false;
};

// Why a file in an encoding the program cannot write is left as it is.
inline constexpr const char* UnwritableEncodingMessage = "It is in UTF-32, an encoding Varnquill does not write";

// One file of the family and the format its extension asks for.
struct SignatureFamilyFile {
    std::string path;
    SignatureFormat format;
};

// The chosen file first, then the files beside it that belong to its family and exist now:
// same folder and base name, another of the three extensions. Only a file with one of them
// has a family; a folder of such a name is no member of it.
std::vector<SignatureFamilyFile> SignatureFamilyFiles(const std::string& path);

// A sibling that could not be opened, with the failure's message.
struct SiblingOpenFailure {
    std::string path;
    std::string message;
};

// Rewrites each sibling whole, one after the other, and answers those that could not be
// opened, that are too large to be a signature, that hold signature records
// (HoldsSignatureRecords, asked unless the sibling is as the program wrote it), or that
// isProtected, asked of each as it is opened, finds to be one of the program's own files;
// they keep what they held. A sibling that has gone since it was found is not made again. A
// failure while writing one closes it and travels on, leaving those before it written and
// those after it as they were. written hears of each sibling written, with its stamp as
// written, where the file system took it.
using SiblingWritten = std::function<void(const SignatureFileContent&, const FileStamp&)>;
std::vector<SiblingOpenFailure> WriteSignatureSiblings(std::span<const SignatureFileContent> siblings,
                                                       const std::function<bool(HANDLE)>& isProtected,
                                                       const SiblingWritten& written);
