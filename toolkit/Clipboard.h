#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

namespace toolkit {

// The clipboard, opened for a window and closed again when this goes. Another program may
// hold it open: then it is not open here, and the caller tries again later.
class OpenClipboardFor {
public:
    explicit OpenClipboardFor(HWND window) noexcept : open_(OpenClipboard(window) != FALSE) {}
    ~OpenClipboardFor()
    {
        if (open_)
            CloseClipboard(); // fails only when it is not open, which open_ rules out
    }
    OpenClipboardFor(const OpenClipboardFor&) = delete;
    OpenClipboardFor& operator=(const OpenClipboardFor&) = delete;

    bool IsOpen() const noexcept { return open_; }

private:
    bool open_;
};

// One format's data as bytes; an enhanced metafile's as its bits, a picture of its own.
struct ClipboardItem {
    UINT format;
    std::string bytes;
};

// What the clipboard holds, apart from the program that put it there.
using ClipboardContent = std::vector<ClipboardItem>;

// Everything on the open clipboard that can be kept apart from its owner, in the order it is
// offered: the formats whose data is memory (text in every form, HTML, rich text, file lists,
// device-independent pictures, the formats other programs register) and an enhanced metafile,
// which the system offers as CF_METAFILEPICT too. Left out are the other GDI objects
// (bitmaps that exist only as handles, palettes), the display, owner-display and private
// formats, whose handles only their owner knows, and data that cannot be had.
ClipboardContent ReadContent();
// Puts what ReadContent kept on the open, emptied clipboard. A format the clipboard refuses
// is lost to every reader alike; the others still go on.
void PutContent(const ClipboardContent& content);

// Puts the bytes on the open clipboard in that format, which then owns them. False when the
// memory cannot be had or the clipboard refuses them.
bool PutOnClipboard(UINT format, std::string_view bytes);
// Offers the format with no data yet, to be rendered when a reader asks (WM_RENDERFORMAT).
bool OfferOnClipboard(UINT format);

// The registered formats by their names ("HTML Format", "Rich Text Format"); 0 when the
// system cannot register it.
UINT RegisteredClipboardFormat(const char* name) noexcept;

} // namespace toolkit
