// The banner picture: decoded from the program's own resource and shown in a real control.
#include "ControlHost.h"

#include "resources/ResourceIds.h"
#include "tests/common/IconSize.h"
#include "toolkit/Dpi.h"
#include "toolkit/Image.h"
#include "toolkit/Jpeg.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace toolkit;

TEST(Jpeg, DecodesTheEmbeddedBannersAt100And200Percent)
{
    struct Case { int resource; int width; int height; };
    for (const Case c : {Case{IDR_BANNER, 360, 53}, Case{IDR_BANNER_LARGE, 720, 106}}) {
        const std::vector<unsigned char> data = ReadResourceData(c.resource);
        const SIZE header = JpegSize(data.data(), data.size());
        EXPECT_EQ(header.cx, c.width);
        EXPECT_EQ(header.cy, c.height);
        const DecodedPicture picture = DecodeJpeg(data.data(), data.size());
        EXPECT_EQ(picture.width, c.width);
        EXPECT_EQ(picture.height, c.height);
        ASSERT_EQ(picture.pixels.size(), static_cast<size_t>(c.width) * c.height * 3);
        // The top-left corner is the band's night blue: more blue than red, and dark.
        const unsigned char blue = picture.pixels[0], green = picture.pixels[1], red = picture.pixels[2];
        EXPECT_GT(blue, red);
        EXPECT_LT(red + green + blue, 3 * 128);
    }
}

TEST(Jpeg, RefusesDataThatIsNoJpeg)
{
    const unsigned char notJpeg[] = "This is a text, not a picture.";
    EXPECT_THROW(DecodeJpeg(notJpeg, sizeof notJpeg), std::runtime_error);
    EXPECT_THROW(DecodeJpeg(notJpeg, 0), std::runtime_error);
    EXPECT_THROW(JpegSize(notJpeg, sizeof notJpeg), std::runtime_error);
    // A JPEG cut after its first bytes.
    const std::vector<unsigned char> data = ReadResourceData(IDR_BANNER);
    EXPECT_THROW(DecodeJpeg(data.data(), 20), std::runtime_error);
}

// The banner fills the control at every density, from the drawing nearer the control's
// width: the control of the designed size shows the small drawing as it is.
TEST(RealImage, ShowsTheNearerBannerScaledToTheControl)
{
    ControlHost host;
    Image banner(host.At(8, 240, 360, 53));
    banner.LoadJpegResources({IDR_BANNER, IDR_BANNER_LARGE});
    EXPECT_EQ((GetWindowLongPtrA(banner.Handle(), GWL_STYLE) & WS_TABSTOP), 0);
    struct Case { UINT dpi; int width; int height; int drawing; };
    const Case cases[] = {
        {96, 360, 53, 360}, {120, 450, 66, 360}, {144, 540, 80, 720}, {192, 720, 106, 720}, {96, 360, 53, 360},
    };
    for (const Case& c : cases) {
        banner.ScaleTo(c.dpi);
        EXPECT_EQ(banner.DrawingWidth(), c.drawing) << c.dpi;
        EXPECT_EQ(banner.PictureWidth(), c.width) << c.dpi;
        EXPECT_EQ(banner.PictureHeight(), c.height) << c.dpi;
        const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(banner.Handle(), STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_NE(shown, nullptr);
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(shown, sizeof info, &info));
        EXPECT_EQ(info.bmWidth, c.width) << c.dpi;
        EXPECT_EQ(info.bmHeight, c.height) << c.dpi;
        const RECT bounds = banner.Bounds();
        EXPECT_EQ(bounds.right - bounds.left, c.width) << c.dpi;
        EXPECT_EQ(bounds.bottom - bounds.top, c.height) << c.dpi;
    }
}

// The icon group of the resource lists the sizes the program icon was drawn in: the small
// and the large icon at 100, 125, 150 and 200 percent, and the shell's largest.
TEST(ProgramIcon, IsDrawnForEveryDensity)
{
#pragma pack(push, 2)
    struct Entry { BYTE width, height, colours, reserved; WORD planes, bitCount; DWORD bytes; WORD id; };
    struct Directory { WORD reserved, type, count; Entry entries[1]; };
#pragma pack(pop)
    const HMODULE module = GetModuleHandleA(nullptr);
    const HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(IDI_VARNQUILL), MAKEINTRESOURCEA(14)); // RT_GROUP_ICON
    ASSERT_NE(group, nullptr);
    const auto* directory = static_cast<const Directory*>(LockResource(LoadResource(module, group)));
    ASSERT_NE(directory, nullptr);
    std::set<int> sizes;
    for (WORD i = 0; i < directory->count; ++i) {
        EXPECT_EQ(directory->entries[i].width, directory->entries[i].height);
        sizes.insert(directory->entries[i].width == 0 ? 256 : directory->entries[i].width); // 0 stands for 256
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 20, 24, 32, 40, 48, 64, 256}));
    for (const int size : sizes)
        EXPECT_EQ(testcommon::IconSize(LoadIconOfSize(IDI_VARNQUILL, size).Get()), size);
    EXPECT_EQ(testcommon::IconSize(LoadIconOfSize(IDI_VARNQUILL, 28).Get()), 28) << "a size between, scaled down";
    EXPECT_FALSE(LoadIconOfSize(999, 16)) << "no such icon";
}
