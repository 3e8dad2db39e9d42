#pragma once
#include "engine/TextFileEncoding.h"
#include "settings/RegistryStore.h"

#include <cstddef>
#include <optional>
#include <string>

namespace settings {

// The encoding each signature file was last found in, by the file's full path, under
// EncodingsKey in the engine's names for it ("UTF-8", ...), one string value a file, as
// earlier versions keep it. Kept for the writer (WriterSettings::KeptEncoding); remembering
// is a help, never a condition: a value that cannot be read is none, and a write that fails
// is dropped, as the file's own bytes still tell its encoding whenever they hold anything
// beyond ASCII.
inline constexpr const char* EncodingsKey = "\\Software\\qmz\\Varnquill\\Encodings\\";
std::optional<TextFileEncoding> ReadKeptEncoding(const RegistryStore& store, const std::string& path);

// At most this many files are kept: writing one more drops the one written least recently,
// so the key does not grow with every file ever used. Which is that is kept in the key's
// default value, the paths oldest first, each followed by "|", a character no path holds.
// A value written where that is not told (by an earlier version) is older than any it tells.
inline constexpr std::size_t KeptEncodingsAtMost = 64;
void WriteKeptEncoding(RegistryStore& store, const std::string& path, TextFileEncoding encoding);

} // namespace settings
