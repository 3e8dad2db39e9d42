#pragma once
#include <windows.h>

#include <map>
#include <optional>
#include <string>

// The clipboard as another program sees it: what the test puts there before, and what it
// finds there after. The program under test may hold it open for a moment, so each access
// is tried for a while.
namespace e2e {

inline constexpr const char* HtmlFormatName = "HTML Format";
inline constexpr const char* RichTextFormatName = "Rich Text Format";

// Replaces the clipboard's content with these formats' bytes; an enhanced metafile's are its
// bits, as MetafileBytes makes them.
void PutOnClipboard(const std::map<UINT, std::string>& formats);
// The bytes of one format (rendered by its owner when it is offered), or nothing; an
// enhanced metafile's bits.
std::optional<std::string> ClipboardBytes(UINT format);
std::optional<std::string> ClipboardBytes(const char* registeredFormat);
// Text formats without their terminating NUL and what may follow it.
std::optional<std::string> ClipboardText();
std::optional<std::wstring> ClipboardUnicodeText();

// A small device-independent picture (CF_DIB): a header and four pixels.
std::string PictureBytes();

// A small enhanced metafile's bits: a rectangle and an ellipse.
std::string MetafileBytes();

// The clipboard's HTML read as a reader reads it: the fragment between StartFragment and
// EndFragment, or a text saying what is wrong with the offsets.
std::string HtmlFragment(const std::string& clipboardHtml);

} // namespace e2e
