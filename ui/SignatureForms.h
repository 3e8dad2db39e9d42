#pragma once
#include "engine/ClipboardSignature.h"

#include <windows.h>

#include <array>

// The signature's forms on the open clipboard, richest first, as a reader takes the first
// form it knows: "HTML Format", "Rich Text Format", Unicode text, ANSI text and the locale the
// ANSI text is read in. A form the clipboard refuses leaves the others, which every reader
// can take instead.
class SignatureForms {
public:
    SignatureForms();

    // Every form at once.
    void Put(const ClipboardSignature& signature) const;
    // Every form offered, to be rendered when a reader asks (WM_RENDERFORMAT).
    void Offer() const;
    // The one form a reader asked for; a format that is none of them is left alone.
    void Render(UINT format, const ClipboardSignature& signature) const;

private:
    // The forms, in the order they go on the clipboard.
    std::array<UINT, 5> Formats() const noexcept;

    UINT html_;
    UINT richText_;
};
