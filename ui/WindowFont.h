#pragma once
#include "toolkit/Handles.h"

// The main window's font: "MS Sans Serif", 8 points. Where that face is not installed, the
// first installed face of the same letter widths (Microsoft Sans Serif, Arial and its
// twins) takes its place: the system's general substitute is often a wider face whose
// texts no longer fit the controls' designed sizes.
toolkit::FontHandle CreateWindowFont();
