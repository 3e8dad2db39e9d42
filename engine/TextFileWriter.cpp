#include "engine/TextFileWriter.h"

#include "engine/IoFailure.h"
#include "engine/FileOpening.h"

#include <algorithm>

TextFileWriter::TextFileWriter(const std::string& path, IfMissing ifMissing)
    : file_(OpenFile(path, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ,
                     ifMissing == IfMissing::Create ? OPEN_ALWAYS : OPEN_EXISTING, false, Devices::Allowed,
                     &factsAtOpen_))
{
}

TextFileWriter::~TextFileWriter()
{
    // Only after a failed write: the file keeps what was written before it and no more. A
    // cut that fails too leaves the old text's end after it; the failure already travels.
    if (file_)
        SetEndOfFile(file_.Get());
}

void TextFileWriter::Write(std::string_view text)
{
    while (!text.empty()) {
        if (used_ == buffer_.size())
            Flush();
        const std::size_t part = std::min(text.size(), buffer_.size() - used_);
        std::copy_n(text.data(), part, buffer_.data() + used_);
        used_ += part;
        text.remove_prefix(part);
    }
}

std::optional<FileStamp> TextFileWriter::StampAtOpen() const
{
    LARGE_INTEGER size{};
    if (!file_ || !factsAtOpen_.lastWrite || !GetFileSizeEx(file_.Get(), &size))
        return std::nullopt;
    return FileStamp{*factsAtOpen_.lastWrite, static_cast<std::uint64_t>(size.QuadPart)};
}

std::optional<FileStamp> TextFileWriter::Close()
{
    Flush();
    if (!SetEndOfFile(file_.Get()))
        throw LastWindowsFailure();
    // Set here rather than left to the file system, which may stamp the file only as it
    // closes: the time is then known exactly, and no one else can write while it is open.
    std::optional<FileStamp> stamp(FileStamp{{}, written_});
    GetSystemTimeAsFileTime(&stamp->lastWrite);
    if (!SetFileTime(file_.Get(), nullptr, nullptr, &stamp->lastWrite))
        stamp.reset(); // the file system keeps its own time; the next change reads the file again
    const HANDLE file = file_.Release();
    if (!CloseHandle(file))
        throw LastWindowsFailure();
    return stamp;
}

void TextFileWriter::Flush()
{
    if (!file_)
        throw IoFailure(IoCode::NotOpen);
    if (used_ == 0)
        return;
    const DWORD given = static_cast<DWORD>(used_);
    used_ = 0;
    DWORD written = 0;
    if (!WriteFile(file_.Get(), buffer_.data(), given, &written, nullptr))
        throw LastWindowsFailure();
    if (written < given)
        throw IoFailure(IoCode::ShortWrite);
    written_ += written;
}
