#include "ui/WindowFont.h"

#include "base/DeviceContext.h"
#include "toolkit/Dpi.h"
#include "toolkit/Font.h"

#include <cstring>

namespace {

constexpr int WindowFontPoints = 8;
constexpr const char* SameWidthFaces[] = {"MS Sans Serif", "Microsoft Sans Serif", "Arial", "Liberation Sans",
                                          "Nimbus Sans", "Helvetica"};

int CALLBACK NoteFound(const LOGFONTA*, const TEXTMETRICA*, DWORD, LPARAM found)
{
    *reinterpret_cast<bool*>(found) = true;
    return 0; // one is enough
}

bool Installed(const char* face)
{
    const base::WindowDc screen(nullptr);
    if (!screen)
        return false; // no way to ask: leave the choice to the system
    LOGFONTA wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    std::strncpy(wanted.lfFaceName, face, LF_FACESIZE - 1);
    bool found = false;
    EnumFontFamiliesExA(screen.Get(), &wanted, NoteFound, reinterpret_cast<LPARAM>(&found), 0);
    return found;
}

} // namespace

toolkit::FontHandle CreateWindowFont(UINT dpi)
{
    for (const char* face : SameWidthFaces)
        if (Installed(face))
            return toolkit::CreatePointFont(face, WindowFontPoints, dpi);
    return toolkit::CreatePointFont(toolkit::MessageFont(dpi).lfFaceName, WindowFontPoints, dpi);
}
