#pragma once
#include "base/FileExists.h"

#include <windows.h>

#include <stdexcept>
#include <string>
#include <string_view>

// Whole-file reads and writes for the program's small side files.
namespace base {

// A file that cannot be read or written, with the message the user sees:
// "Cannot open file "<path>". <system text>" or "Cannot create file "<path>". <system text>".
class FileAccessError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Every byte of the file, opened for reading while others may read too.
// Fails with "Cannot open file ...".
std::string ReadWholeFile(const std::string& path);
// The same into the buffer, which it enlarges when needed and never shrinks, so that many
// files read one after another are not each given fresh memory; answers the file's bytes,
// at the buffer's start.
std::string_view ReadWholeFile(const std::string& path, std::string& buffer);

// The last step of a save: puts the finished temporary file in the target's place in one
// step. Gives the Windows error code, ERROR_SUCCESS when done.
using ReplaceStep = DWORD (*)(const std::string& temporaryPath, const std::string& targetPath);

// The replace step saves use: MoveFileEx, replacing the target, written through to the disk.
DWORD MoveReplacing(const std::string& temporaryPath, const std::string& targetPath);

// Makes the file hold exactly these bytes, all or nothing: they go to a new temporary file
// in the same directory (opened without sharing), reach the disk, and then that file takes
// the old one's place through the replace step. A failure at any point leaves the old file
// whole and no temporary file behind; a crash leaves the old file whole too, though perhaps a
// stray temporary file beside it. Fails with "Cannot create file ...".
// Tests pass their own replace step to interrupt a save at its last step.
void ReplaceWholeFile(const std::string& path, const std::string& bytes, ReplaceStep replace = MoveReplacing);

} // namespace base
