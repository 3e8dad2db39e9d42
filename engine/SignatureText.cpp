#include "engine/SignatureText.h"

std::string ComposeSignatureText(const WriterSettings& settings, const std::string& body,
                                 const std::string& heading)
{
    constexpr const char* LineBreak = "\r\n";
    std::string text;
    if (settings.DelimiterOn()) {
        text += "-- ";
        text += LineBreak;
    }
    std::string headed;
    if (!heading.empty()) {
        headed += heading;
        headed += LineBreak;
    }
    headed += body;

    if (settings.StaticTextOn() && settings.StaticTextAbove()) {
        text += settings.StaticText();
        text += LineBreak;
        text += headed;
    } else if (settings.StaticTextOn()) {
        text += headed;
        text += LineBreak;
        text += settings.StaticText();
    } else {
        text += headed;
    }
    return text;
}
