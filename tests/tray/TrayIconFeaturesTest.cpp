#include "TrayFixture.h"

#include <vector>

using toolkit::Application;
using tray::TTrayIcon;
using traytest::InShell;
using traytest::PumpFor;
using traytest::PumpUntil;
using traytest::TrayTest;

namespace {

// An image list of three system icons; destroyed with the object.
struct ThreeImages {
    HIMAGELIST list = ImageList_Create(16, 16, ILC_COLOR32 | ILC_MASK, 3, 0);
    ThreeImages()
    {
        for (const auto id : {32512, 32515, 32513}) // IDI_APPLICATION, IDI_WARNING, IDI_ERROR
            ImageList_AddIcon(list, LoadIconA(nullptr, MAKEINTRESOURCEA(id)));
    }
    ~ThreeImages() { ImageList_Destroy(list); }
};

} // namespace

using TrayIconFeatures = TrayTest;

TEST_F(TrayIconFeatures, IconListIndexAndCycling)
{
    ThreeImages images;
    ASSERT_EQ(ImageList_GetImageCount(images.list), 3);
    TTrayIcon icon(form->Handle());
    icon.SetIconVisible(true);
    icon.SetIconList(images.list);
    EXPECT_EQ(icon.IconIndex(), 0);
    icon.SetIconIndex(7);
    EXPECT_EQ(icon.IconIndex(), 2) << "lowered to the last image";
    EXPECT_EQ(icon.IconData().hIcon, icon.Icon()) << "the shell got the new image";

    std::vector<int> nexts;
    icon.OnCycle = [&](TTrayIcon& sender, int next) {
        EXPECT_EQ(next, (sender.IconIndex() + 1) % 3);
        nexts.push_back(next);
    };
    // A period of 0 runs nothing.
    icon.SetCycleIcons(true);
    PumpFor(200);
    EXPECT_TRUE(nexts.empty());
    icon.SetCycleInterval(30);
    EXPECT_EQ(icon.IconIndex(), 0) << "switching cycling on starts from the first image";
    ASSERT_TRUE(PumpUntil([&] { return nexts.size() >= 4; }));
    icon.SetCycleIcons(false);
    EXPECT_EQ(std::vector<int>(nexts.begin(), nexts.begin() + 4), (std::vector<int>{1, 2, 0, 1}));

    icon.SetIconList(nullptr);
    EXPECT_EQ(icon.IconIndex(), 0);
    icon.SetIconIndex(2);
    EXPECT_EQ(icon.IconIndex(), 0) << "no list, no index";
    EXPECT_TRUE(InShell(icon.IconData()));
}

TEST_F(TrayIconFeatures, SetIconCopiesTheImage)
{
    TTrayIcon icon(form->Handle());
    icon.SetIconVisible(true);
    const HICON warning = LoadIconA(nullptr, MAKEINTRESOURCEA(32515));
    icon.SetIcon(warning);
    EXPECT_NE(icon.Icon(), nullptr);
    EXPECT_NE(icon.Icon(), warning) << "a copy the icon owns";
    EXPECT_EQ(icon.IconData().hIcon, icon.Icon());
    icon.SetIcon(nullptr);
    EXPECT_EQ(icon.Icon(), nullptr);
    EXPECT_TRUE(icon.ModifyIcon()) << "no image is still an icon in the tray";
}

TEST_F(TrayIconFeatures, StartupQuestionAtTheEndOfLoading)
{
    struct Case { bool assigned; bool answer; bool formShown; };
    for (const Case c : {Case{false, true, true}, Case{true, true, true}, Case{true, false, false}}) {
        Application::Instance().SetShowMainFormOnStart(true);
        ShowWindow(form->Handle(), SW_SHOW);
        TTrayIcon icon(form->Handle());
        int asked = 0;
        if (c.assigned) {
            icon.OnStartup = [&](TTrayIcon&, bool& show) {
                ++asked;
                EXPECT_TRUE(show) << "preset to true";
                show = c.answer;
            };
        }
        icon.SetHint("loaded");
        icon.SetPersistenttrayIcon(true);
        icon.Loaded();
        EXPECT_EQ(asked, c.assigned ? 1 : 0);
        EXPECT_EQ(Application::Instance().ShowMainFormOnStart(), c.formShown);
        EXPECT_EQ(IsWindowVisible(form->Handle()) != FALSE, c.formShown);
        EXPECT_TRUE(InShell(icon.IconData())) << "the icon is applied anew";
        icon.ShowMainForm();
    }
    Application::Instance().SetShowMainFormOnStart(true);
}
