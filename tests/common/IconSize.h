#pragma once
#include <windows.h>

namespace testcommon {

// The width in pixels of an icon's image; 0 for no icon.
inline int IconSize(HICON icon)
{
    ICONINFO info{};
    BITMAP mask{};
    if (!icon || !GetIconInfo(icon, &info) || !GetObjectA(info.hbmMask, sizeof mask, &mask))
        mask.bmWidth = 0;
    DeleteObject(info.hbmMask); // a null handle is refused, which is as good
    DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

} // namespace testcommon
