#include "engine/RecordFile.h"

#include "engine/FileOpening.h"
#include "engine/IoFailure.h"

#include <algorithm>
#include <limits>

void RecordFile::OpenExisting(const std::string& path)
{
    Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_EXISTING, false);
}

void RecordFile::Create(const std::string& path)
{
    Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, true);
}

void RecordFile::OpenOrCreate(const std::string& path)
{
    Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS, false);
}

void RecordFile::OpenForReading(const std::string& path)
{
    Open(path, GENERIC_READ, OPEN_EXISTING, false);
}

void RecordFile::Open(const std::string& path, DWORD access, DWORD disposition, bool emptied)
{
    Close();
    // Only a plain file on disk is a database: a device such as CON would block a read forever.
    OpenedFileFacts facts;
    handle_ = OpenFile(path, access, FILE_SHARE_READ | FILE_SHARE_WRITE, disposition, emptied, Devices::Refused, &facts);
    // Nothing is written through a handle opened for reading: its length as opened stands.
    sizeAsOpened_ = access == GENERIC_READ ? facts.size : std::nullopt;
}

void RecordFile::Close() noexcept
{
    handle_.Reset();
    sizeAsOpened_.reset();
}

HANDLE RecordFile::Handle() const
{
    if (!handle_)
        throw IoFailure(IoCode::NotOpen);
    return handle_.Get();
}

std::int64_t RecordFile::BytePosition() const
{
    LARGE_INTEGER position;
    if (!SetFilePointerEx(Handle(), LARGE_INTEGER{}, &position, FILE_CURRENT))
        throw LastWindowsFailure();
    return position.QuadPart;
}

std::int64_t RecordFile::Count() const
{
    if (sizeAsOpened_)
        return static_cast<std::int64_t>(*sizeAsOpened_ / SignatureRecordSize);
    LARGE_INTEGER size;
    if (!GetFileSizeEx(Handle(), &size))
        throw LastWindowsFailure();
    return size.QuadPart / static_cast<std::int64_t>(SignatureRecordSize);
}

bool RecordFile::HoldsWholeRecords() const
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(Handle(), &size))
        throw LastWindowsFailure();
    return size.QuadPart % static_cast<std::int64_t>(SignatureRecordSize) == 0;
}

std::int64_t RecordFile::Position() const
{
    return BytePosition() / static_cast<std::int64_t>(SignatureRecordSize);
}

void RecordFile::Seek(std::int64_t record)
{
    const HANDLE file = Handle();
    constexpr auto size = static_cast<std::int64_t>(SignatureRecordSize);
    if (record < 0)
        throw IoFailure(IoCode::NegativeSeek);
    if (record > std::numeric_limits<std::int64_t>::max() / size)
        throw IoFailure(ERROR_INVALID_PARAMETER); // no file is that long
    LARGE_INTEGER offset;
    offset.QuadPart = record * size;
    if (!SetFilePointerEx(file, offset, nullptr, FILE_BEGIN))
        throw LastWindowsFailure();
}

bool RecordFile::AtEnd() const
{
    return Position() >= Count();
}

void RecordFile::ReadRecord(SignatureRecord& into)
{
    ReadRecords(into);
}

void RecordFile::WriteRecord(const SignatureRecord& from)
{
    WriteRecords(from);
}

void RecordFile::ReadRecords(std::span<char> into)
{
    const HANDLE file = Handle();
    std::size_t done = 0;
    // One call per 1 GiB at most: ReadFile counts in 32 bits.
    while (done < into.size()) {
        const DWORD asked = static_cast<DWORD>(std::min<std::size_t>(into.size() - done, 1u << 30));
        DWORD got = 0;
        if (!ReadFile(file, into.data() + done, asked, &got, nullptr))
            throw LastWindowsFailure();
        done += got;
        if (got < asked)
            throw IoFailure(IoCode::ShortRead);
    }
}

void RecordFile::WriteRecords(std::span<const char> from)
{
    const HANDLE file = Handle();
    std::size_t done = 0;
    while (done < from.size()) {
        const DWORD given = static_cast<DWORD>(std::min<std::size_t>(from.size() - done, 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, from.data() + done, given, &written, nullptr))
            throw LastWindowsFailure();
        done += written;
        if (written < given)
            throw IoFailure(IoCode::ShortWrite);
    }
}

void RecordFile::Truncate()
{
    // A short read may have left the file pointer inside a record; the cut is at the cursor.
    Seek(Position());
    if (!SetEndOfFile(Handle()))
        throw LastWindowsFailure();
}
