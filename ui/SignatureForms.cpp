#include "ui/SignatureForms.h"

#include "toolkit/Clipboard.h"

#include <string>
#include <string_view>

namespace {

std::string_view BytesOf(const std::string& text)
{
    return {text.c_str(), text.size() + 1}; // with its NUL
}

std::string_view BytesOf(const std::wstring& text)
{
    return {reinterpret_cast<const char*>(text.c_str()), (text.size() + 1) * sizeof(wchar_t)};
}

// The locale of the ANSI code page the text is in, which a reader converts CF_TEXT by.
std::string LocaleBytes()
{
    const LCID locale = GetSystemDefaultLCID();
    return std::string(reinterpret_cast<const char*>(&locale), sizeof locale);
}

} // namespace

SignatureForms::SignatureForms()
    : html_(toolkit::RegisteredClipboardFormat("HTML Format")),
      richText_(toolkit::RegisteredClipboardFormat("Rich Text Format"))
{
}

std::array<UINT, 5> SignatureForms::Formats() const noexcept
{
    return {html_, richText_, CF_UNICODETEXT, CF_TEXT, CF_LOCALE};
}

void SignatureForms::Put(const ClipboardSignature& signature) const
{
    for (const UINT format : Formats())
        Render(format, signature);
}

void SignatureForms::Offer() const
{
    // A form that cannot be offered is missing for this paste; the reader takes another.
    for (const UINT format : Formats())
        toolkit::OfferOnClipboard(format);
}

void SignatureForms::Render(UINT format, const ClipboardSignature& signature) const
{
    // A form the clipboard refuses is missing; the reader takes another.
    if (format == html_ && html_ != 0)
        toolkit::PutOnClipboard(format, BytesOf(signature.html));
    else if (format == richText_ && richText_ != 0)
        toolkit::PutOnClipboard(format, BytesOf(signature.richText));
    else if (format == CF_UNICODETEXT)
        toolkit::PutOnClipboard(format, BytesOf(signature.unicodeText));
    else if (format == CF_TEXT)
        toolkit::PutOnClipboard(format, BytesOf(signature.ansiText));
    else if (format == CF_LOCALE)
        toolkit::PutOnClipboard(format, LocaleBytes());
}
