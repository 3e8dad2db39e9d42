#include "engine/ClipboardSignature.h"

#include "base/CodePages.h"
#include "engine/SignatureFormats.h"

#include <cstdio>

namespace {

constexpr const char* DocumentStart = "<html><head><meta charset=\"utf-8\"></head><body>\r\n<!--StartFragment-->";
constexpr const char* DocumentEnd = "<!--EndFragment-->\r\n</body></html>";

// The description's lines, with every offset ten digits wide so its length is known before
// the offsets are.
std::string Description(std::size_t startHtml, std::size_t endHtml, std::size_t startFragment,
                        std::size_t endFragment)
{
    char description[160];
    std::snprintf(description, sizeof description,
                  "Version:0.9\r\nStartHTML:%010zu\r\nEndHTML:%010zu\r\nStartFragment:%010zu\r\nEndFragment:%010zu\r\n",
                  startHtml, endHtml, startFragment, endFragment);
    return description;
}

} // namespace

std::string ClipboardHtmlDocument(const std::string& fragmentUtf8)
{
    const std::string documentStart = DocumentStart;
    const std::size_t startHtml = Description(0, 0, 0, 0).size();
    const std::size_t startFragment = startHtml + documentStart.size();
    const std::size_t endFragment = startFragment + fragmentUtf8.size();
    const std::size_t endHtml = endFragment + std::char_traits<char>::length(DocumentEnd);
    return Description(startHtml, endHtml, startFragment, endFragment) + documentStart + fragmentUtf8 + DocumentEnd;
}

ClipboardSignature ClipboardFormsOf(const std::string& text, unsigned codePage, bool delimiterFirst)
{
    ClipboardSignature forms;
    forms.ansiText = text;
    forms.unicodeText = base::ToWide(text, codePage);
    forms.html = ClipboardHtmlDocument(base::WideToUtf8(base::ToWide(HtmlSignatureBody(text, delimiterFirst), codePage)));
    forms.richText = RichTextSignature(text, codePage);
    return forms;
}
