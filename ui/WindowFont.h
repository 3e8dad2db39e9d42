#pragma once
#include "toolkit/Handles.h"

// The main window's font: "MS Sans Serif", 8 points. Where that face is not installed, the
// first installed face of the same letter widths (Microsoft Sans Serif, Arial and its
// twins) takes its place: the system's general substitute is often a wider face whose
// texts no longer fit the controls' designed sizes, or one drawn at a few sizes only.
// Made for the window's density; where none of those faces is installed, the face of the
// system's message font, which every density can draw.
toolkit::FontHandle CreateWindowFont(UINT dpi);
