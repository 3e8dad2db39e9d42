// The banner picture: decoded from the program's own resource and shown in a real control.
#include "ControlHost.h"

#include "resources/ResourceIds.h"
#include "toolkit/Image.h"
#include "toolkit/Jpeg.h"

#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

using namespace toolkit;

TEST(Jpeg, DecodesTheEmbeddedBannerTo360By53)
{
    const std::vector<unsigned char> data = ReadResourceData(IDR_BANNER);
    const DecodedPicture picture = DecodeJpeg(data.data(), data.size());
    EXPECT_EQ(picture.width, 360);
    EXPECT_EQ(picture.height, 53);
    ASSERT_EQ(picture.pixels.size(), 360u * 53u * 3u);
    // The top-left corner is the band's night blue: more blue than red, and dark.
    const unsigned char blue = picture.pixels[0], green = picture.pixels[1], red = picture.pixels[2];
    EXPECT_GT(blue, red);
    EXPECT_LT(red + green + blue, 3 * 128);
}

TEST(Jpeg, RefusesDataThatIsNoJpeg)
{
    const unsigned char notJpeg[] = "This is a text, not a picture.";
    EXPECT_THROW(DecodeJpeg(notJpeg, sizeof notJpeg), std::runtime_error);
    EXPECT_THROW(DecodeJpeg(notJpeg, 0), std::runtime_error);
    // A JPEG cut after its first bytes.
    const std::vector<unsigned char> data = ReadResourceData(IDR_BANNER);
    EXPECT_THROW(DecodeJpeg(data.data(), 20), std::runtime_error);
}

TEST(RealImage, ShowsTheBannerAsABitmapOfItsSize)
{
    ControlHost host;
    Image banner(host.At(8, 240, 360, 53));
    banner.LoadJpegResource(IDR_BANNER);
    EXPECT_EQ(banner.PictureWidth(), 360);
    EXPECT_EQ(banner.PictureHeight(), 53);
    const auto shown = reinterpret_cast<HBITMAP>(SendMessageA(banner.Handle(), STM_GETIMAGE, IMAGE_BITMAP, 0));
    ASSERT_NE(shown, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObjectA(shown, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 360);
    EXPECT_EQ(info.bmHeight, 53);
    const RECT bounds = banner.Bounds();
    EXPECT_EQ(bounds.right - bounds.left, 360);
    EXPECT_EQ(bounds.bottom - bounds.top, 53);
    EXPECT_EQ((GetWindowLongPtrA(banner.Handle(), GWL_STYLE) & WS_TABSTOP), 0);
}

// The icon group of the resource lists the sizes the program icon was drawn in.
TEST(ProgramIcon, IsDrawnIn16And32And48Pixels)
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
        sizes.insert(directory->entries[i].width);
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 32, 48}));
    const auto icon = static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(IDI_VARNQUILL), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE));
    EXPECT_NE(icon, nullptr);
    if (icon)
        DestroyIcon(icon);
}
