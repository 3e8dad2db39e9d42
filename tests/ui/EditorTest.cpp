// The database editor of a real main window: its commands on real database files, the
// buttons each state enables, and the dialogs it opens, answered from the test.
#include "EditorFixture.h"

#include "engine/SignatureDatabase.h"
#include "base/AsciiText.h"
#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"

#include <windows.h>

#include <fstream>

using testcommon::SeenDialog;

namespace {

// Which editor controls are enabled, in one comparable value.
struct EditorButtons {
    bool open, close, first, previous, next, last, add, post, remove, set, field;
    bool operator==(const EditorButtons&) const = default;
};

std::ostream& operator<<(std::ostream& out, const EditorButtons& b)
{
    return out << "open " << b.open << " close " << b.close << " first " << b.first << " previous "
               << b.previous << " next " << b.next << " last " << b.last << " new " << b.add << " post "
               << b.post << " delete " << b.remove << " set " << b.set << " field " << b.field;
}

EditorButtons ButtonsOf(const DatabaseEditorProbe& form)
{
    return {form.btnOpen.Enabled(), form.btnClose.Enabled(),  form.btnFirst.Enabled(),
            form.btnPrevious.Enabled(), form.btnNext.Enabled(), form.btnLast.Enabled(),
            form.btnNew.Enabled(), form.btnPost.Enabled(),  form.btnDelete.Enabled(),
            form.btnSet.Enabled(), form.SigMemo.Enabled()};
}

//                                  open   close  first  prev   next   last   new    post   delete set    field
constexpr EditorButtons Closed{     true,  false, false, false, false, false, false, false, false, false, false};
constexpr EditorButtons Adding{     false, true,  false, false, false, false, false, true,  false, false, true};
constexpr EditorButtons AtFirst{    false, true,  false, false, true,  true,  true,  true,  true,  true,  true};
constexpr EditorButtons AtLast{     false, true,  true,  true,  false, false, true,  true,  true,  true,  true};
constexpr EditorButtons InBetween{  false, true,  true,  true,  true,  true,  true,  true,  true,  true,  true};
constexpr EditorButtons OpenedEmpty{false, true,  false, false, false, false, true,  true,  false, false, true};

} // namespace

TEST_F(EditorWindow, NewDatabaseIsCreatedPostedBrowsedAndEdited)
{
    const std::string path = PathOf("created.sigs");
    EXPECT_EQ(ButtonsOf(EditorOf(*form)), Closed);

    dialogs->ChooseFile(path);
    EditorOf(*form).btnOpen.Click();
    const std::vector<SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].caption, "Create new or choose an already existing signature database");
    EXPECT_EQ(EditorOf(*form).DBFileEdit.Text(), path);
    EXPECT_EQ(FileBytes(path), "");
    EXPECT_TRUE(services.Database().DatabaseOpen());
    EXPECT_EQ(ButtonsOf(EditorOf(*form)), OpenedEmpty);
    EXPECT_EQ(EditorOf(*form).btnPost.Text(), "Update");

    // The first post of a new database appends record 0 (creating set adding mode).
    const std::string full(512, 'x');
    const std::string lines = "Second one\r\nhas\r\nthree lines";
    Type(full);
    EditorOf(*form).btnPost.Click();
    EXPECT_EQ(RecordTexts(path), std::vector<std::string>{full});

    for (const std::string& text : {lines, std::string("third")}) {
        EditorOf(*form).btnNew.Click();
        EXPECT_EQ(ButtonsOf(EditorOf(*form)), Adding);
        EXPECT_EQ(EditorOf(*form).btnPost.Text(), "Add sig");
        EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "");
        Type(text);
        EditorOf(*form).btnPost.Click();
        EXPECT_EQ(EditorOf(*form).btnPost.Text(), "Update");
    }
    EXPECT_EQ(RecordTexts(path), (std::vector<std::string>{full, lines, "third"}));
    EXPECT_EQ(FileBytes(path)->size(), 3 * 513u);

    // Walking: each end disables the two buttons leading past it.
    // The handlers themselves, so the end rules hold even for a button pressed at its end.
    using Handler = void (DatabaseEditorProbe::*)();
    struct Step { Handler press; std::string shown; EditorButtons buttons; };
    const Step walk[] = {
        {&DatabaseEditorProbe::btnFirstClick, full, AtFirst},       {&DatabaseEditorProbe::btnPreviousClick, full, AtFirst},
        {&DatabaseEditorProbe::btnNextClick, lines, InBetween},     {&DatabaseEditorProbe::btnNextClick, "third", AtLast},
        {&DatabaseEditorProbe::btnNextClick, "third", AtLast},      {&DatabaseEditorProbe::btnPreviousClick, lines, InBetween},
        {&DatabaseEditorProbe::btnLastClick, "third", AtLast},      {&DatabaseEditorProbe::btnPreviousClick, lines, InBetween},
        {&DatabaseEditorProbe::btnPreviousClick, full, AtFirst},
    };
    for (std::size_t i = 0; i < std::size(walk); ++i) {
        (EditorOf(*form).*walk[i].press)();
        EXPECT_EQ(EditorOf(*form).SigMemo.Text(), walk[i].shown) << "step " << i;
        EXPECT_EQ(ButtonsOf(EditorOf(*form)), walk[i].buttons) << "step " << i;
    }
    EditorOf(*form).btnLastClick();

    // Update the middle one in place.
    EditorOf(*form).btnPreviousClick();
    EditorOf(*form).SigMemo.SetText("changed");
    EditorOf(*form).btnPost.Click();
    EXPECT_EQ(RecordTexts(path), (std::vector<std::string>{full, "changed", "third"}));

    // Delete asks first; No keeps everything, Yes deletes and shows the follower.
    dialogs->Press("&No");
    EditorOf(*form).btnDelete.Click();
    ASSERT_EQ(dialogs->Take().size(), 1u);
    EXPECT_EQ(RecordTexts(path).size(), 3u);
    dialogs->Press("&Yes");
    EditorOf(*form).btnDelete.Click();
    const std::vector<SeenDialog> asked = dialogs->Take();
    ASSERT_EQ(asked.size(), 1u);
    EXPECT_EQ(asked[0].caption, "Confirm");
    EXPECT_EQ(asked[0].text, "Delete signature?");
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "third");
    EXPECT_EQ(RecordTexts(path), (std::vector<std::string>{full, "third"}));

    // Delete the rest: the last record's predecessor is shown, then the field empties.
    dialogs->Press("&Yes");
    EditorOf(*form).btnDelete.Click();
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), full);
    dialogs->Press("&Yes");
    EditorOf(*form).btnDelete.Click();
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "");
    EXPECT_EQ(FileBytes(path), "");
    EXPECT_EQ(ButtonsOf(EditorOf(*form)), OpenedEmpty);
    dialogs->Take();

    // Closing a database that is not listed offers it; No leaves the list alone.
    dialogs->Press("&No");
    EditorOf(*form).btnClose.Click();
    const std::vector<SeenDialog> offered = dialogs->Take();
    ASSERT_EQ(offered.size(), 1u);
    EXPECT_EQ(offered[0].text, "Do you want to add created.sigs to the list of signature databases?");
    EXPECT_EQ(DatabasesOf(*form).DBList.Count(), 0);
    EXPECT_EQ(ButtonsOf(EditorOf(*form)), Closed);
    EXPECT_EQ(EditorOf(*form).DBFileEdit.Text(), "");
    EXPECT_FALSE(services.Database().DatabaseOpen());
    EXPECT_FALSE(services.Database().File().IsOpen());
}

TEST_F(EditorWindow, OpeningEnablesWhatTheRecordCountAllows)
{
    struct Case { std::vector<std::string> records; EditorButtons buttons; };
    //                                                             open   close  first  prev   next   last   new   post  delete set   field
    const Case cases[] = {{{}, OpenedEmpty},
                          {{"only"}, EditorButtons{false, true,  false, false, false, false, true, true, true,  true, true}},
                          {{"one", "two"}, AtFirst}};
    for (const Case& c : cases) {
        const std::string path = PathOf("existing.sigs");
        WriteDatabase(path, c.records);
        const std::string before = FileBytes(path).value();
        dialogs->ChooseFile(path);
        EditorOf(*form).btnOpen.Click();
        EXPECT_EQ(dialogs->Take().size(), 1u);
        EXPECT_EQ(ButtonsOf(EditorOf(*form)), c.buttons) << c.records.size() << " records";
        EXPECT_EQ(EditorOf(*form).btnPost.Text(), "Update");
        EXPECT_EQ(EditorOf(*form).SigMemo.Text(), c.records.empty() ? "" : c.records[0]);
        // An existing database is opened, not emptied; a post overwrites the record shown.
        EXPECT_EQ(FileBytes(path), before);
        if (!c.records.empty()) {
            EditorOf(*form).SigMemo.SetText("over");
            EditorOf(*form).btnPost.Click();
            EXPECT_EQ(RecordTexts(path)[0], "over");
            EXPECT_EQ(RecordTexts(path).size(), c.records.size());
        }
        // Listed already (in other letters): closing asks nothing.
        DatabasesOf(*form).Add(base::AsciiUpperCase(path));
        EditorOf(*form).btnClose.Click();
        EXPECT_TRUE(dialogs->Take().empty());
        DatabasesOf(*form).Clear();
    }
}

TEST_F(EditorWindow, FailedOpenReportsAFileErrorAndLeavesTheEditorClosedAndUsable)
{
    const std::string good = PathOf("good.sigs");
    WriteDatabase(good, {"fine"});
    const std::string locked = PathOf("locked.sigs");
    WriteDatabase(locked, {"held"});
    const std::string readOnly = PathOf("readonly.sigs");
    WriteDatabase(readOnly, {"kept"});
    ASSERT_TRUE(SetFileAttributesA(readOnly.c_str(), FILE_ATTRIBUTE_READONLY));
    const std::string partial = PathOf("partial.sigs");
    {
        std::ofstream(partial, std::ios::binary) << std::string(600, 'p');
    }
    // Held by another program without sharing.
    base::FileHandle holder(CreateFileA(locked.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(holder);

    struct Case { std::string path; bool fromList; std::string message; };
    const Case cases[] = {
        {readOnly, false, "File access denied"},
        {readOnly, true, "File access denied"},
        {PathOf("missing.sigs"), true, "File not found"},
        {partial, false, "Not a signature database: its size is not a multiple of 513 bytes"},
        {locked, false, "I/O error 32"},
        {locked, true, "I/O error 32"},
    };
    for (const Case& c : cases) {
        const std::optional<std::string> before = FileBytes(c.path);
        if (c.fromList) {
            dialogs->Press("OK");
            EditorOf(*form).OpenFromList(c.path);
        } else {
            dialogs->ChooseFile(c.path);
            dialogs->Press("OK");
            EditorOf(*form).btnOpen.Click();
        }
        const std::vector<SeenDialog> seen = dialogs->Take();
        ASSERT_FALSE(seen.empty()) << c.path;
        EXPECT_EQ(seen.back().caption, "Error") << c.path;
        EXPECT_EQ(seen.back().text, "ERROR: " + c.message) << c.path;
        EXPECT_EQ(ButtonsOf(EditorOf(*form)), Closed) << c.path;
        EXPECT_EQ(EditorOf(*form).DBFileEdit.Text(), "") << c.path;
        EXPECT_FALSE(services.Database().DatabaseOpen()) << c.path;
        EXPECT_FALSE(services.Database().File().IsOpen()) << c.path;
        if (c.path != locked) { // the holder keeps the test itself from reading it
            EXPECT_EQ(FileBytes(c.path), before) << c.path;
        }
    }
    EXPECT_EQ(dialogs->Unused(), 0u);

    // Still usable: the next open works.
    EditorOf(*form).OpenFromList(good);
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), "fine");
    EXPECT_TRUE(services.Database().DatabaseOpen());
}

TEST_F(EditorWindow, SignatureFieldTakesAtMost512Characters)
{
    const std::string path = PathOf("long.sigs");
    WriteDatabase(path, {});
    EditorOf(*form).OpenFromList(path);
    Type(std::string(513, 'y'));
    EXPECT_EQ(EditorOf(*form).SigMemo.Text(), std::string(512, 'y'));
}

TEST_F(EditorWindow, SetSignatureWritesTheFieldAndAnOpenDatabaseBlocksTheRandomChange)
{
    const std::string signature = PathOf("signature.txt");
    SettingsOf(*form).OEFileEdit.SetText(signature);
    SettingsOf(*form).SigBreakChkBx.SetChecked(false); // the signature alone, no delimiter line
    const std::string path = PathOf("set.sigs");
    WriteDatabase(path, {"stored"});
    DatabasesOf(*form).Add(path);
    EditorOf(*form).OpenFromList(path);

    // What the field shows, posted or not.
    EditorOf(*form).SigMemo.SetText("shown\r\nnot posted");
    EditorOf(*form).btnSet.Click();
    EXPECT_EQ(FileBytes(signature), "shown\r\nnot posted");
    EXPECT_EQ(RecordTexts(path), std::vector<std::string>{"stored"});

    dialogs->Press("OK");
    FormProbe::RandomChange(*form);
    std::vector<SeenDialog> seen = dialogs->Take();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Cannot set signature while database is open!");
    EXPECT_EQ(FileBytes(signature), "shown\r\nnot posted");

    // Listed: closing asks nothing, and the random change runs again.
    EditorOf(*form).btnClose.Click();
    EXPECT_TRUE(dialogs->Take().empty());
    FormProbe::RandomChange(*form);
    EXPECT_EQ(FileBytes(signature), "stored");
}

// The database being edited, though not listed, and the program's side files are never a
// signature: "Set signature" refuses them and writes nothing.
TEST_F(EditorWindow, SetSignatureRefusesTheOpenDatabaseAndTheSideFilesAsItsTarget)
{
    const std::string path = PathOf("editing.sigs");
    WriteDatabase(path, {"stored"});
    EditorOf(*form).OpenFromList(path);
    EditorOf(*form).SigMemo.SetText("would overwrite");
    std::vector<std::string> targets = {path};
    std::vector<std::optional<std::string>> before;
    for (const char* name : settings::SideFileNames) {
        targets.push_back(settings::SideFilePath(settings::ProgramDirectory(), name));
        before.push_back(FileBytes(targets.back()));
    }
    const std::string refused =
        "Error opening signature text file: It is a signature database or one of Varnquill's own files";
    for (const std::string& target : targets) {
        SettingsOf(*form).OEFileEdit.SetText(target);
        dialogs->Press("OK");
        EditorOf(*form).btnSet.Click();
        const std::vector<SeenDialog> seen = dialogs->Take();
        ASSERT_EQ(seen.size(), 1u) << target;
        EXPECT_EQ(seen[0].text, refused) << target;
    }
    EXPECT_EQ(RecordTexts(path), std::vector<std::string>{"stored"});
    for (std::size_t i = 0; i < before.size(); ++i)
        EXPECT_EQ(FileBytes(targets[i + 1]), before[i]) << targets[i + 1];
}
