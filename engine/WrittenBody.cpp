#include "engine/WrittenBody.h"

#include "base/CodePages.h"
#include "base/WholeFile.h"
#include "engine/SignatureFormats.h"
#include "engine/SignatureText.h"
#include "engine/TextFileEncoding.h"

namespace {

// The file's text in the ANSI code page, or nothing when it holds a character the code page
// lacks (no body of a database does).
std::optional<std::string> AnsiText(const std::string& bytes)
{
    switch (EncodingOfBytes(bytes, true)) {
    case TextFileEncoding::Ansi: return bytes;
    case TextFileEncoding::Utf8: return base::Utf8ToAnsi(bytes);
    case TextFileEncoding::Utf8WithMark: return base::Utf8ToAnsi(std::string_view(bytes).substr(3));
    case TextFileEncoding::Utf16LeWithMark:
    case TextFileEncoding::Utf16BeWithMark: {
        const bool bigEndian = bytes[0] == '\xFE';
        std::wstring wide;
        for (std::size_t i = 2; i + 1 < bytes.size(); i += 2) {
            const auto first = static_cast<unsigned char>(bytes[i]);
            const auto second = static_cast<unsigned char>(bytes[i + 1]);
            wide += static_cast<wchar_t>(bigEndian ? (first << 8) | second : (second << 8) | first);
        }
        return base::WideToAnsi(wide);
    }
    case TextFileEncoding::Utf32: break;
    }
    return std::nullopt;
}

} // namespace

std::optional<std::string> BodyInSignatureFile(const std::string& path, const WriterSettings& settings)
{
    if (FormatOfExtension(SplitExtension(path).extension) != SignatureFormat::PlainText)
        return std::nullopt;
    std::optional<std::string> text;
    try {
        text = AnsiText(base::ReadWholeFile(path));
    } catch (const base::FileAccessError&) {
        return std::nullopt; // missing or held: no text to avoid
    }
    // The settings' frame: what they put before and after a body, split at a byte no
    // static text holds.
    const std::string frame = ComposeSignatureText(settings, std::string(1, '\0'), "");
    const std::size_t at = frame.find('\0');
    const std::string_view before = std::string_view(frame).substr(0, at);
    const std::string_view after = std::string_view(frame).substr(at + 1);
    if (!text || text->size() < before.size() + after.size() || !text->starts_with(before) ||
        !text->ends_with(after))
        return std::nullopt;
    return text->substr(before.size(), text->size() - before.size() - after.size());
}
