#include "vqsig/StandardStreams.h"

#include "engine/IoFailure.h"
#include "base/CodePages.h"

#include <windows.h>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace vqsig {

namespace {

std::string CheckedAnsi(std::optional<std::string> ansi)
{
    if (!ansi)
        throw std::runtime_error("The text holds characters that the ANSI code page has no form for.");
    return *ansi;
}

// Redirected text as ANSI: UTF-8 with more than ASCII in it is converted, anything else is
// taken as it stands.
std::string AnsiOfRedirected(std::string bytes)
{
    constexpr std::string_view ByteOrderMark = "\xEF\xBB\xBF";
    if (base::IsAscii(bytes) || !base::IsUtf8(bytes))
        return bytes;
    std::string_view utf8 = bytes;
    if (utf8.starts_with(ByteOrderMark))
        utf8.remove_prefix(ByteOrderMark.size());
    return CheckedAnsi(base::Utf8ToAnsi(utf8));
}

bool IsConsole(HANDLE handle)
{
    DWORD mode = 0;
    return handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

// Returns false at the first failed call, leaving GetLastError() to the caller.
bool WriteBytes(HANDLE handle, std::string_view bytes)
{
    while (!bytes.empty()) {
        DWORD written = 0;
        const auto chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1 << 20));
        if (!WriteFile(handle, bytes.data(), chunk, &written, nullptr))
            return false;
        if (written == 0) {
            SetLastError(ERROR_HANDLE_DISK_FULL);
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

bool WriteConsoleText(HANDLE handle, std::wstring_view text)
{
    // Older consoles refuse very long writes; a chunk never ends between the two halves of
    // a surrogate pair.
    constexpr std::size_t ChunkChars = 8192;
    while (!text.empty()) {
        std::size_t chunk = std::min(text.size(), ChunkChars);
        if (chunk < text.size() && IS_HIGH_SURROGATE(text[chunk - 1]))
            --chunk;
        DWORD written = 0;
        if (!WriteConsoleW(handle, text.data(), static_cast<DWORD>(chunk), &written, nullptr) || written == 0)
            return false;
        text.remove_prefix(written);
    }
    return true;
}

bool WriteText(HANDLE handle, std::string_view text, TextEncoding encoding)
{
    if (IsConsole(handle))
        return WriteConsoleText(handle, base::ToWide(text, encoding == TextEncoding::Utf8 ? CP_UTF8 : CP_ACP));
    return WriteBytes(handle, text);
}

std::string ReadConsoleText(HANDLE handle)
{
    constexpr wchar_t CtrlZ = 0x1A;
    std::wstring text;
    wchar_t chunk[4096];
    for (;;) {
        DWORD read = 0;
        if (!ReadConsoleW(handle, chunk, static_cast<DWORD>(std::size(chunk)), &read, nullptr))
            throw LastWindowsFailure();
        const std::wstring_view got(chunk, read);
        const std::size_t end = got.find(CtrlZ);
        text.append(got.substr(0, end));
        if (read == 0 || end != std::wstring_view::npos)
            break;
    }
    return CheckedAnsi(base::WideToAnsi(text));
}

std::string ReadRawBytes(HANDLE handle)
{
    std::string bytes;
    char chunk[65536];
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(handle, chunk, sizeof chunk, &read, nullptr)) {
            // A pipe whose writer has closed it ends the input like the end of a file.
            if (GetLastError() == ERROR_BROKEN_PIPE)
                break;
            throw LastWindowsFailure();
        }
        if (read == 0)
            break;
        bytes.append(chunk, read);
    }
    return bytes;
}

} // namespace

void WriteStandardOutput(std::string_view text, TextEncoding encoding)
{
    if (!WriteText(GetStdHandle(STD_OUTPUT_HANDLE), text, encoding)) {
        const DWORD error = GetLastError();
        if (error == ERROR_BROKEN_PIPE || error == ERROR_NO_DATA)
            throw OutputClosed();
        // Not an IoFailure: a command must not take it for one of its database's.
        throw std::runtime_error(std::string("Standard output: ") + LastWindowsFailure().what());
    }
}

void WriteStandardError(std::string_view text) noexcept
{
    try {
        // Ignored: a message that cannot be written to standard error cannot be reported.
        (void)WriteText(GetStdHandle(STD_ERROR_HANDLE), text, TextEncoding::Ansi);
    } catch (...) {
        // ToWide may run out of memory; the message is lost, the exit code still tells.
    }
}

std::string ReadStandardInput()
{
    const HANDLE input = GetStdHandle(STD_INPUT_HANDLE);
    // A program started without standard input reads it as empty.
    if (input == nullptr || input == INVALID_HANDLE_VALUE)
        return {};
    return IsConsole(input) ? ReadConsoleText(input) : AnsiOfRedirected(ReadRawBytes(input));
}

} // namespace vqsig
