#pragma once
#include <string>
#include <vector>

// Whole files for tests, read and written through the Win32 API as the program sees them.
// Each fails with an exception naming the file, which fails the test that asked.
std::string ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const std::string& bytes);
// A file or a folder of that name is there.
bool FileExists(const std::string& path);

// Other names of one existing file, each a different spelling of the same path: with the
// "\\?\" and "\\.\" prefixes, as its 8.3 short name, and through a second drive letter for
// the same folder (under Wine, Z:, which holds the whole Linux file system). A spelling the
// system cannot make is left out.
std::vector<std::string> OtherSpellingsOf(const std::string& path);
