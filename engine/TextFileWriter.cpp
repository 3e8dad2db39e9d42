#include "engine/TextFileWriter.h"

#include "engine/IoFailure.h"
#include "engine/RecordFile.h"

#include <algorithm>

TextFileWriter::TextFileWriter(const std::string& path)
{
    CheckPath(path);
    // Opening the existing file and cutting it keeps the file itself (its attributes, its
    // identity for the mail client) where replacing it would not, and works on hidden files.
    file_.Reset(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file_)
        throw LastWindowsFailure();
    if (!SetEndOfFile(file_.Get()))
        throw LastWindowsFailure();
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

void TextFileWriter::Close()
{
    Flush();
    const HANDLE file = file_.Release();
    if (!CloseHandle(file))
        throw LastWindowsFailure();
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
}
