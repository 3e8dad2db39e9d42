// The "Databases" group's context menu on a real main window.
#include "EditorFixture.h"

#include "engine/SignatureDatabase.h"
#include "base/AsciiText.h"

namespace {

enum Item : std::size_t { Add, Open, Import, Export, Remove, ClearList };

} // namespace

TEST_F(EditorWindow, MenuEnablesOpenAndRemoveForASelectedRowAndClearForAnyRow)
{
    toolkit::PopupMenu& menu = DatabasesOf(*form).DBListPopUp;
    ASSERT_EQ(menu.Items.Count(), 6u);
    const char* captions[] = {"Add", "Open", "Import...", "Export...", "Remove", "Clear list"};
    for (std::size_t i = 0; i < 6; ++i)
        EXPECT_EQ(menu.Items[i].Caption, captions[i]);

    struct Case { int rows; int selected; bool open, remove, clear; };
    const Case cases[] = {{0, -1, false, false, false}, {2, -1, false, false, true}, {2, 1, true, true, true}};
    for (const Case& c : cases) {
        DatabasesOf(*form).Clear();
        for (int row = 0; row < c.rows; ++row)
            DatabasesOf(*form).Add(PathOf(std::to_string(row) + ".sigs"));
        DatabasesOf(*form).DBList.SetItemIndex(c.selected);
        ASSERT_TRUE(menu.OnPopup);
        menu.OnPopup(menu);
        EXPECT_TRUE(menu.Items[Add].Enabled);
        EXPECT_TRUE(menu.Items[Import].Enabled);
        EXPECT_EQ(menu.Items[Open].Enabled, c.open) << c.rows << " rows, selected " << c.selected;
        EXPECT_EQ(menu.Items[Export].Enabled, c.open) << c.rows << " rows, selected " << c.selected;
        EXPECT_EQ(menu.Items[Remove].Enabled, c.remove) << c.rows << " rows, selected " << c.selected;
        EXPECT_EQ(menu.Items[ClearList].Enabled, c.clear) << c.rows << " rows, selected " << c.selected;
    }
}

TEST_F(EditorWindow, AddAppendsAChosenPathOnceWhateverItsLetterCase)
{
    toolkit::PopupMenu& menu = DatabasesOf(*form).DBListPopUp;
    const std::string path = PathOf("added.sigs");
    WriteDatabase(path, {"a"});

    dialogs->ChooseFile(path);
    menu.Items[Add].Click();
    const std::vector<testcommon::SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Find a signature database to add...");
    ASSERT_EQ(DatabasesOf(*form).DBList.Items(), std::vector<std::string>{path});

    // The same path in other letters, and a cancelled dialog, add nothing and say nothing.
    dialogs->ChooseFile(base::AsciiUpperCase(path));
    menu.Items[Add].Click();
    dialogs->Cancel();
    menu.Items[Add].Click();
    EXPECT_EQ(dialogs->Take().size(), 2u);
    EXPECT_EQ(DatabasesOf(*form).DBList.Items(), std::vector<std::string>{path});
}

TEST_F(EditorWindow, OpenRemoveAndClearListWorkOnTheSelectedRow)
{
    toolkit::PopupMenu& menu = DatabasesOf(*form).DBListPopUp;
    const std::string first = PathOf("first.sigs");
    const std::string second = PathOf("second.sigs");
    WriteDatabase(first, {"one", "two"});
    WriteDatabase(second, {"other"});
    DatabasesOf(*form).Add(first);
    DatabasesOf(*form).Add(second);

    DatabasesOf(*form).DBList.SetItemIndex(0);
    menu.Items[Open].Click();
    EXPECT_EQ(EditorOf(*form).DBFileEdit.Text(), first);
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "one");
    EXPECT_TRUE(EditorOf(*form).btnNext.Enabled());

    // A second open is refused while one is open; the open one stays.
    DatabasesOf(*form).DBList.SetItemIndex(1);
    dialogs->Press("OK");
    menu.Items[Open].Click();
    const std::vector<testcommon::SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "A signature database is already open!");
    EXPECT_EQ(EditorOf(*form).DBFileEdit.Text(), first);
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "one");
    EditorOf(*form).btnClose.Click(); // listed: no question

    menu.Items[Remove].Click();
    EXPECT_EQ(DatabasesOf(*form).DBList.Items(), std::vector<std::string>{first});
    menu.Items[ClearList].Click();
    EXPECT_EQ(DatabasesOf(*form).DBList.Count(), 0);
    EXPECT_TRUE(dialogs->Take().empty());
}
