#pragma once
#include <optional>
#include <string>
#include <vector>

// What the signature writer reports when its target is one of the program's own files.
inline constexpr const char* OwnFileMessage = "It is a signature database or one of Varnquill's own files";
// ... and when its target is a stream inside a file ("db.sigs:x", "db.sigs::$DATA"), which
// would change that file while the user thinks another is written.
inline constexpr const char* DataStreamMessage = "It names a stream inside a file, not a file of its own";

// The full path, without a "\\?\" or "\\.\" prefix, which changes nothing about the file
// named; empty when there is none (an empty path, or one with a NUL inside).
std::string PlainFullPath(const std::string& path);

// Whether path names one of files, however either is spelt: "\\?\" and "\\.\" prefixes,
// relative parts, 8.3 short names, another drive letter or share for the same folder, hard
// links, letter case. Files that exist are compared by identity (volume serial number and
// file index); a file that does not exist yet by its folder's identity and its name, the
// name's case folded as the file system folds it; a file in a folder that cannot be reached
// by its full path alone. An empty path is never a file.
bool NamesOneOf(const std::string& path, const std::vector<std::string>& files);

// Whether the path names an alternate data stream of a file rather than the file itself.
bool NamesDataStream(const std::string& path);

// Why the signature must not be written to path, or nothing when it may: a stream inside a
// file, or one of files (NamesOneOf).
std::optional<std::string> RefusedTarget(const std::string& path, const std::vector<std::string>& files);
