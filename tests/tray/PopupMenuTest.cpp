#include "toolkit/PopupMenu.h"

#include "MenuDriver.h"
#include "TrayFixture.h"

#include <string>
#include <vector>

using toolkit::MenuItem;
using toolkit::PopupMenu;
using traytest::MenuDriver;
using traytest::TrayTest;

namespace {

// The list box's context menu as the program builds it, every choice written down.
struct ListMenu {
    PopupMenu menu;
    std::vector<std::string> chosen;
    ListMenu()
    {
        for (const char* caption : {"Add", "Open", "Remove", "Clear list"})
            menu.Add(caption, [this](MenuItem& item) { chosen.push_back(item.Caption); });
    }
};

} // namespace

using PopupMenuTest = TrayTest;

TEST_F(PopupMenuTest, ChoosingAnItemRunsItsHandlerOnceAfterOnPopup)
{
    struct Case { std::vector<WPARAM> keys; std::vector<std::string> chosen; };
    const Case cases[] = {
        {{VK_DOWN, VK_RETURN}, {"Add"}},
        {{VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN}, {"Remove"}},
        {{VK_ESCAPE}, {}},
        {{}, {}}, // closed from outside
    };
    for (const Case& c : cases) {
        ListMenu list;
        MenuDriver driver(c.keys);
        std::vector<std::string> order;
        list.menu.OnPopup = [&](PopupMenu& sender) {
            EXPECT_EQ(&sender, &list.menu);
            order.push_back("OnPopup");
            driver.Arm();
        };
        list.menu.Popup(200, 200);
        EXPECT_TRUE(driver.sawMenu);
        EXPECT_EQ(order, std::vector<std::string>{"OnPopup"});
        EXPECT_EQ(list.chosen, c.chosen);
    }
}

TEST_F(PopupMenuTest, SubmenuItemsAndDisabledItems)
{
    PopupMenu menu;
    std::vector<std::string> chosen;
    auto note = [&](MenuItem& item) { chosen.push_back(item.Caption); };
    MenuItem& winamp = menu.Add("Winamp");
    winamp.Add("Set song as signature", note);
    menu.Add("Change signature", note).Enabled = false;
    menu.Add("Restore", note).Default = true;
    menu.AddSeparator();
    menu.Add("Exit", note);
    EXPECT_EQ(menu.DefaultItem(), &menu.Items[2]);
    EXPECT_TRUE(menu.Items[3].IsSeparator());

    // Into the submenu and choose its item.
    MenuDriver driver({VK_DOWN, VK_RIGHT, VK_RETURN});
    menu.OnPopup = [&](PopupMenu&) { driver.Arm(); };
    menu.Popup(200, 200);
    EXPECT_EQ(chosen, std::vector<std::string>{"Set song as signature"});

    // A disabled item does nothing when clicked from code either.
    chosen.clear();
    menu.Items[1].Click();
    menu.Items[2].Click();
    EXPECT_EQ(chosen, std::vector<std::string>{"Restore"});
}

TEST_F(PopupMenuTest, AHandlerMayDestroyTheMenu)
{
    auto menu = std::make_unique<PopupMenu>();
    int runs = 0;
    menu->Add("Exit", [&](MenuItem&) {
        ++runs;
        menu.reset();
    });
    MenuDriver driver({VK_DOWN, VK_RETURN});
    menu->OnPopup = [&](PopupMenu&) { driver.Arm(); };
    menu->Popup(200, 200);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(menu, nullptr);
}
