#include "engine/SignatureText.h"

#include "base/CodePages.h"

namespace {

template <typename Text>
Text Composed(const WriterSettings& settings, const Text& body, const Text& heading, const Text& staticText)
{
    const Text lineBreak = {'\r', '\n'};
    Text text;
    if (settings.DelimiterOn()) {
        text += {'-', '-', ' '};
        text += lineBreak;
    }
    Text headed;
    if (!heading.empty()) {
        headed += heading;
        headed += lineBreak;
    }
    headed += body;

    if (settings.StaticTextOn() && settings.StaticTextAbove()) {
        text += staticText;
        text += lineBreak;
        text += headed;
    } else if (settings.StaticTextOn()) {
        text += headed;
        text += lineBreak;
        text += staticText;
    } else {
        text += headed;
    }
    return text;
}

} // namespace

std::string ComposeSignatureText(const WriterSettings& settings, const std::string& body,
                                 const std::string& heading)
{
    return Composed(settings, body, heading, settings.StaticTextOn() ? settings.StaticText() : std::string());
}

std::wstring ComposeSignatureText(const WriterSettings& settings, const std::wstring& body,
                                  const std::wstring& heading)
{
    return Composed(settings, body, heading,
                    settings.StaticTextOn() ? base::ToWide(settings.StaticText(), CP_ACP) : std::wstring());
}
