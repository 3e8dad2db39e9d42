#pragma once
#include <windows.h>

namespace testcommon {

// The width in pixels of an icon's image; 0 for no icon.
inline int IconSize(HICON icon)
{
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return 0;
    BITMAP mask{};
    GetObjectA(info.hbmMask, sizeof mask, &mask);
    DeleteObject(info.hbmMask);
    if (info.hbmColor)
        DeleteObject(info.hbmColor);
    return mask.bmWidth;
}

} // namespace testcommon
