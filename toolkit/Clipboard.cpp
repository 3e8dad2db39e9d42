#include "toolkit/Clipboard.h"

#include "toolkit/Handles.h"

#include <cstring>
#include <optional>

namespace toolkit {

namespace {

// Formats whose data is no block of memory that can be copied and handed back. An enhanced
// metafile is none either, but is kept by its bits.
bool IsHandleFormat(UINT format) noexcept
{
    switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT: // memory holding a metafile handle; made from the enhanced one again
    case CF_PALETTE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE: return true;
    default: break;
    }
    return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
           (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

std::optional<std::string> MemoryBytes(HANDLE data)
{
    const SIZE_T size = GlobalSize(data);
    const void* bytes = GlobalLock(data);
    if (!bytes)
        return std::nullopt; // no memory handle after all: a format registered for another kind
    std::string copy(static_cast<const char*>(bytes), size);
    GlobalUnlock(data); // answers whether it is still locked, which no one else asks
    return copy;
}

// The metafile's bits, which make it again in any process; the clipboard keeps the handle.
std::optional<std::string> MetafileBits(HANDLE data)
{
    const auto metafile = static_cast<HENHMETAFILE>(data);
    const UINT size = GetEnhMetaFileBits(metafile, 0, nullptr);
    if (size == 0)
        return std::nullopt; // no metafile after all
    std::string bits(size, '\0');
    if (GetEnhMetaFileBits(metafile, size, reinterpret_cast<BYTE*>(bits.data())) != size)
        return std::nullopt;
    return bits;
}

bool PutMetafile(std::string_view bits)
{
    EnhancedMetafileHandle metafile(
        SetEnhMetaFileBits(static_cast<UINT>(bits.size()), reinterpret_cast<const BYTE*>(bits.data())));
    if (!metafile || !SetClipboardData(CF_ENHMETAFILE, metafile.Get()))
        return false; // a refused metafile is still ours, and goes with its owner
    metafile.Release(); // the clipboard's now
    return true;
}

} // namespace

ClipboardContent ReadContent()
{
    ClipboardContent content;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (IsHandleFormat(format))
            continue;
        // Null for a format its owner could not render; such data is lost to every reader.
        const HANDLE data = GetClipboardData(format);
        if (!data)
            continue;
        std::optional<std::string> bytes = format == CF_ENHMETAFILE ? MetafileBits(data) : MemoryBytes(data);
        if (bytes)
            content.push_back({format, std::move(*bytes)});
    }
    return content;
}

void PutContent(const ClipboardContent& content)
{
    // A refused format is lost to every program alike; the rest still go back.
    for (const ClipboardItem& item : content) {
        if (item.format == CF_ENHMETAFILE)
            PutMetafile(item.bytes);
        else
            PutOnClipboard(item.format, item.bytes);
    }
}

bool PutOnClipboard(UINT format, std::string_view bytes)
{
    // At least one byte: a block of none cannot be had.
    const HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes.empty() ? 1 : bytes.size());
    if (!memory)
        return false;
    void* locked = GlobalLock(memory);
    if (!locked) {
        GlobalFree(memory);
        return false;
    }
    if (!bytes.empty())
        std::memcpy(locked, bytes.data(), bytes.size());
    else
        static_cast<char*>(locked)[0] = '\0';
    GlobalUnlock(memory); // the block is complete; its lock count says nothing more
    if (!SetClipboardData(format, memory)) {
        GlobalFree(memory); // still ours when the clipboard refused it
        return false;
    }
    return true;
}

bool OfferOnClipboard(UINT format)
{
    // Answers null for a delayed format even when it worked: the last error tells.
    SetLastError(ERROR_SUCCESS);
    return SetClipboardData(format, nullptr) != nullptr || GetLastError() == ERROR_SUCCESS;
}

UINT RegisteredClipboardFormat(const char* name) noexcept
{
    return RegisterClipboardFormatA(name);
}

} // namespace toolkit
