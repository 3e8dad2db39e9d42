// Controls laid out for a density: exactly where designed at 96, and at other densities
// with room for captions the density's font makes wider than their controls.
#include "ControlHost.h"

#include "toolkit/Button.h"
#include "toolkit/CheckBox.h"
#include "toolkit/Dpi.h"
#include "toolkit/Font.h"
#include "toolkit/GroupBox.h"
#include "toolkit/Label.h"
#include "toolkit/Layout.h"
#include "toolkit/SpinEdit.h"

#include <gtest/gtest.h>

using namespace toolkit;

TEST(Layout, KeepsTheDesignAt96AndGivesCutCaptionsRoomElsewhere)
{
    ControlHost host;
    FontHandle font; // declared before the controls, so it goes after them
    GroupBox frame(host.At(0, 0, 300, 80, "Frame"));
    // Too narrow for their captions: a check box with a spin field and a label right after
    // it, and a button with space before the next one; "OK" fits.
    CheckBox check(host.At(8, 20, 60, 17, "A caption wider than sixty pixels"));
    SpinEdit spin(host.At(68, 18, 50, 22), 1, 9);
    Label after(host.At(125, 20, 0, 0, "after"));
    Button wide(host.At(8, 48, 40, 21, "A wide caption"));
    Button fits(host.At(150, 48, 75, 21, "OK"));
    const Control* const all[] = {&frame, &check, &spin, &after, &wide, &fits};
    const auto arrowsRight = [&] {
        RECT arrows{};
        GetWindowRect(spin.ArrowsHandle(), &arrows);
        MapWindowPoints(HWND_DESKTOP, host.Handle(), reinterpret_cast<POINT*>(&arrows), 2);
        return arrows.right;
    };

    for (const UINT dpi : {96u, 144u, 96u}) {
        SCOPED_TRACE(dpi);
        FontHandle next = CreatePointFont("Arial", 8, dpi);
        ApplyFont(host.Handle(), next.Get());
        font = std::move(next);
        LayOutControls(host.Handle(), dpi);
        const RECT checkPlace = check.Bounds();
        const RECT afterPlace = after.Bounds();
        const RECT widePlace = wide.Bounds();
        const RECT fitsPlace = fits.Bounds();
        if (dpi == DesignDpi) {
            for (const Control* control : all) {
                const RECT place = control->Bounds();
                const RECT& designed = control->DesignedBounds();
                EXPECT_EQ(place.left, designed.left);
                EXPECT_EQ(place.top, designed.top);
                if (control != &after && control != &spin) { // the label's own size; the field and its arrows
                    EXPECT_EQ(place.right, designed.right);
                    EXPECT_EQ(place.bottom, designed.bottom);
                }
            }
            EXPECT_EQ(arrowsRight(), 118);
            EXPECT_LT(checkPlace.right - checkPlace.left, check.CaptionWidth(dpi)) << "cut, as designed";
            continue;
        }
        const RECT scaledCheck = ScaleRect(check.DesignedBounds(), dpi);
        EXPECT_EQ(checkPlace.left, scaledCheck.left);
        EXPECT_EQ(checkPlace.right - checkPlace.left, check.CaptionWidth(dpi));
        // The row moved aside as one: the spin field with its arrows, then the label.
        const LONG shift = afterPlace.left - Scale(125, dpi);
        EXPECT_GT(shift, 0);
        EXPECT_EQ(afterPlace.top, Scale(20, dpi));
        EXPECT_GE(spin.Bounds().left, checkPlace.right);
        EXPECT_EQ(spin.Bounds().left, Scale(68, dpi) + shift);
        EXPECT_EQ(arrowsRight(), Scale(118, dpi) + shift);
        EXPECT_EQ(widePlace.right - widePlace.left, wide.CaptionWidth(dpi)) << "grown into the space before OK";
        const RECT scaledFits = ScaleRect(fits.DesignedBounds(), dpi);
        EXPECT_TRUE(EqualRect(&fitsPlace, &scaledFits)) << "OK neither grew nor moved";
        EXPECT_LE(afterPlace.right, frame.Bounds().right) << "inside the frame";
    }
}
