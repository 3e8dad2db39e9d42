#pragma once
#include <stdexcept>
#include <string>

// Whole-file reads and writes for the program's small side files.
namespace settings {

// A file that cannot be read or written, with the message the user sees:
// "Cannot open file "<path>". <system text>" or "Cannot create file "<path>". <system text>".
class FileAccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// True for an existing file; a directory does not count.
bool FileExists(const std::string& path);

// Every byte of the file, opened for reading while others may read too.
// Fails with "Cannot open file ...".
std::string ReadWholeFile(const std::string& path);

// Makes the file hold exactly these bytes, all or nothing: they go to a new temporary file
// in the same directory (opened without sharing), reach the disk, and then that file takes
// the old one's place in one step. A crash or a failure at any point leaves the old file
// whole and no temporary file behind. Fails with "Cannot create file ...".
void ReplaceWholeFile(const std::string& path, const std::string& bytes);

} // namespace settings
