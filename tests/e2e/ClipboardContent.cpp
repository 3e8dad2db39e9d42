#include "tests/e2e/ClipboardContent.h"

#include <cstdlib>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace e2e {

namespace {

// The clipboard opened by this process, tried for up to five seconds.
class OpenedClipboard {
public:
    OpenedClipboard()
    {
        bool open = false;
        for (int attempt = 0; attempt < 500 && !(open = OpenClipboard(nullptr) != FALSE); ++attempt)
            Sleep(10);
        if (!open)
            throw std::runtime_error("the clipboard stays open in another program");
    }
    ~OpenedClipboard() { CloseClipboard(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;
};

} // namespace

void PutOnClipboard(const std::map<UINT, std::string>& formats)
{
    const OpenedClipboard clipboard;
    if (!EmptyClipboard())
        throw std::runtime_error("cannot empty the clipboard");
    for (const auto& [format, bytes] : formats) {
        if (format == CF_ENHMETAFILE) {
            const HENHMETAFILE metafile =
                SetEnhMetaFileBits(static_cast<UINT>(bytes.size()), reinterpret_cast<const BYTE*>(bytes.data()));
            if (!metafile || !SetClipboardData(format, metafile))
                throw std::runtime_error("the clipboard refused the metafile");
            continue;
        }
        const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.size());
        if (!memory)
            throw std::runtime_error("out of memory");
        std::memcpy(GlobalLock(memory), bytes.data(), bytes.size());
        GlobalUnlock(memory);
        if (!SetClipboardData(format, memory))
            throw std::runtime_error("the clipboard refused format " + std::to_string(format));
    }
}

std::optional<std::string> ClipboardBytes(UINT format)
{
    const OpenedClipboard clipboard;
    const HANDLE data = GetClipboardData(format);
    if (!data)
        return std::nullopt;
    if (format == CF_ENHMETAFILE) {
        std::string bits(GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), 0, nullptr), '\0');
        GetEnhMetaFileBits(static_cast<HENHMETAFILE>(data), static_cast<UINT>(bits.size()),
                           reinterpret_cast<BYTE*>(bits.data()));
        return bits;
    }
    const void* bytes = GlobalLock(data);
    if (!bytes)
        return std::nullopt;
    std::string copy(static_cast<const char*>(bytes), GlobalSize(data));
    GlobalUnlock(data);
    return copy;
}

std::optional<std::string> ClipboardBytes(const char* registeredFormat)
{
    return ClipboardBytes(RegisterClipboardFormatA(registeredFormat));
}

std::optional<std::string> ClipboardText()
{
    std::optional<std::string> bytes = ClipboardBytes(CF_TEXT);
    if (bytes)
        bytes->resize(std::strlen(bytes->c_str()));
    return bytes;
}

std::optional<std::wstring> ClipboardUnicodeText()
{
    const std::optional<std::string> bytes = ClipboardBytes(CF_UNICODETEXT);
    if (!bytes)
        return std::nullopt;
    std::wstring text(bytes->size() / sizeof(wchar_t), L'\0');
    std::memcpy(text.data(), bytes->data(), text.size() * sizeof(wchar_t));
    text.resize(wcslen(text.c_str()));
    return text;
}

std::string PictureBytes()
{
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 2;
    header.biHeight = 2;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    const DWORD pixels[4] = {0x00FF0000, 0x0000FF00, 0x000000FF, 0x00123456};
    std::string bytes(reinterpret_cast<const char*>(&header), sizeof header);
    bytes.append(reinterpret_cast<const char*>(pixels), sizeof pixels);
    return bytes;
}

std::string MetafileBytes()
{
    const HDC drawing = CreateEnhMetaFileA(nullptr, nullptr, nullptr, "Varnquill test\0picture\0");
    if (!drawing)
        throw std::runtime_error("cannot make a metafile");
    Rectangle(drawing, 10, 10, 200, 120);
    Ellipse(drawing, 40, 30, 160, 100);
    const HENHMETAFILE metafile = CloseEnhMetaFile(drawing);
    std::string bits(GetEnhMetaFileBits(metafile, 0, nullptr), '\0');
    GetEnhMetaFileBits(metafile, static_cast<UINT>(bits.size()), reinterpret_cast<BYTE*>(bits.data()));
    DeleteEnhMetaFile(metafile);
    return bits;
}

std::string HtmlFragment(const std::string& clipboardHtml)
{
    const auto offset = [&](const char* name) -> long long {
        const std::string key = std::string("\n") + name + ":";
        const std::size_t at = clipboardHtml.find(key);
        if (at == std::string::npos)
            return -1;
        return std::atoll(clipboardHtml.c_str() + at + key.size());
    };
    const long long startHtml = offset("StartHTML"), endHtml = offset("EndHTML");
    const long long start = offset("StartFragment"), end = offset("EndFragment");
    const auto size = static_cast<long long>(clipboardHtml.size());
    if (startHtml < 0 || endHtml > size || start < startHtml || end < start || end > endHtml)
        return "(offsets out of order)";
    if (clipboardHtml.compare(static_cast<std::size_t>(startHtml), 6, "<html>") != 0)
        return "(StartHTML is not at <html>)";
    if (clipboardHtml.compare(static_cast<std::size_t>(endHtml) - 7, 7, "</html>") != 0)
        return "(EndHTML is not after </html>)";
    if (clipboardHtml.compare(static_cast<std::size_t>(start) - 20, 20, "<!--StartFragment-->") != 0 ||
        clipboardHtml.compare(static_cast<std::size_t>(end), 18, "<!--EndFragment-->") != 0)
        return "(the fragment's offsets miss its markers)";
    return clipboardHtml.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
}

} // namespace e2e
