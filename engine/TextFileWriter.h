#pragma once
#include "base/Handles.h"
#include "engine/FileOpening.h"
#include "engine/FileStamp.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

// Writes a text file whole through a 128-byte buffer, as the signature text file is
// written: opened while others may read it, created when missing, holding exactly the bytes
// given (a byte-order mark only when they start with one; the encoding is
// chosen before, see TextFileEncoding.h). The new text goes over the old from the start and
// the file is cut after it, so the file holds the new text alone; emptying it first would
// cost far more under Wine on ext4, which pushes a file emptied and written again to the
// disk as it closes. It is opened for reading too, so that what it holds can be looked at
// through the same handle before it is written over (HoldsSignatureRecords).
// The text is complete only after Close. Failures are IoFailures; when one leaves a write,
// the object's end still cuts the file after what was written and closes it, so it holds
// that much, as if it had been emptied first, and can be opened again.
class TextFileWriter {
public:
    static constexpr std::size_t BufferSize = 128;

    // Whether a missing file is made, as the signature file is, or the open fails with
    // "File not found", for a file that should only be updated where it exists.
    enum class IfMissing { Create, Fail };

    // Opens the file; a missing one is created or refused, as asked.
    explicit TextFileWriter(const std::string& path, IfMissing ifMissing = IfMissing::Create);
    TextFileWriter(const TextFileWriter&) = delete;
    TextFileWriter& operator=(const TextFileWriter&) = delete;
    ~TextFileWriter();

    // The open file, for what is asked of it before it is written (which file it is).
    HANDLE Handle() const noexcept { return file_.Get(); }
    // Its stamp as it was opened, before the first Write: the time its opening read anyway,
    // and its length; nothing when the length cannot be had.
    std::optional<FileStamp> StampAtOpen() const;
    // Closes the file as it was found, for a file that must not be written after all;
    // only before the first Write.
    void CloseUnchanged() noexcept { file_.Reset(); }

    void Write(std::string_view text);
    // Writes out what the buffer holds, cuts the file there, gives it the current time as
    // its last write and closes it; the file is closed even when that fails. Answers the
    // file's stamp as written, or nothing where the file system would not take the time.
    std::optional<FileStamp> Close();

private:
    void Flush();

    OpenedFileFacts factsAtOpen_;
    base::FileHandle file_;
    std::array<char, BufferSize> buffer_;
    std::size_t used_ = 0;
    std::uint64_t written_ = 0;
};
