#pragma once

namespace tray {

enum TMouseButton { mbLeft, mbRight, mbMiddle };

// Flags of a TShiftState: keys held and the mouse button concerned.
enum TShiftFlag : unsigned {
    ssShift = 1u << 0,
    ssAlt = 1u << 1,
    ssCtrl = 1u << 2,
    ssLeft = 1u << 3,
    ssRight = 1u << 4,
    ssMiddle = 1u << 5,
};
using TShiftState = unsigned;

} // namespace tray
