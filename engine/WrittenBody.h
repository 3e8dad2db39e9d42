#pragma once
#include "engine/WriterSettings.h"

#include <optional>
#include <string>

// The body a plain-text signature file holds now, found inside the delimiter and static
// text the settings put around a body, in the ANSI code page: the text the last change
// wrote there. Nothing when the file is not plain text, cannot be read, or does not hold
// what the settings would put around a body (the settings changed since, or someone edited
// the file).
std::optional<std::string> BodyInSignatureFile(const std::string& path, const WriterSettings& settings);
