#include "toolkit/Clipboard.h"

#include <cstring>

namespace toolkit {

namespace {

// Formats whose data is no block of memory that can be copied and handed back.
bool IsHandleFormat(UINT format) noexcept
{
    switch (format) {
    case CF_BITMAP:
    case CF_METAFILEPICT: // memory, but holding a metafile handle
    case CF_PALETTE:
    case CF_ENHMETAFILE:
    case CF_OWNERDISPLAY:
    case CF_DSPBITMAP:
    case CF_DSPMETAFILEPICT:
    case CF_DSPENHMETAFILE: return true;
    default: break;
    }
    return (format >= CF_PRIVATEFIRST && format <= CF_PRIVATELAST) ||
           (format >= CF_GDIOBJFIRST && format <= CF_GDIOBJLAST);
}

} // namespace

std::vector<ClipboardItem> ReadMemoryFormats()
{
    std::vector<ClipboardItem> items;
    for (UINT format = EnumClipboardFormats(0); format != 0; format = EnumClipboardFormats(format)) {
        if (IsHandleFormat(format))
            continue;
        // Null for a format its owner could not render; such data is lost to every reader.
        const HANDLE data = GetClipboardData(format);
        if (!data)
            continue;
        const SIZE_T size = GlobalSize(data);
        const void* bytes = GlobalLock(data);
        if (!bytes)
            continue; // no memory handle after all: a format registered for another kind
        items.push_back({format, std::string(static_cast<const char*>(bytes), size)});
        GlobalUnlock(data); // answers whether it is still locked, which no one else asks
    }
    return items;
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
