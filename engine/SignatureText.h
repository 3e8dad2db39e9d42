#pragma once
#include "engine/WriterSettings.h"

#include <string>

// The signature text file's whole content: the delimiter line, the static text above or
// below, the heading line (empty except for the playing song) and the body, every line break
// CR LF. What the file holds after a write, and what a caller without a file prints.
std::string ComposeSignatureText(const WriterSettings& settings, const std::string& body,
                                 const std::string& heading);
// The same in wide characters, for a body that may hold characters the code page lacks; the
// settings' static text is taken from the ANSI code page.
std::wstring ComposeSignatureText(const WriterSettings& settings, const std::wstring& body,
                                  const std::wstring& heading);
