#include "EditorFixture.h"

#include "engine/SignatureRecord.h"
#include "settings/ProgramLocation.h"
#include "settings/SideFiles.h"

#include <windows.h>

#include <fstream>
#include <iterator>
#include <sstream>

namespace {

void ForgetSettings()
{
    // Missing already is as good as removed.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
    DeleteFileA(settings::SideFilePath(settings::ProgramDirectory(), settings::OrderStateFileName).c_str());
}

void RemoveFolder(const std::string& folder)
{
    WIN32_FIND_DATAA found{};
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            // Some tests leave a file read-only; clear that first so it can go.
            SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((folder + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str()); // best effort: a leftover folder in the temp folder harms nothing
}

} // namespace

void EditorWindow::SetUp()
{
    ForgetSettings();
    char temp[MAX_PATH] = {};
    ASSERT_NE(GetTempPathA(MAX_PATH, temp), 0u);
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    folder_ = std::string(temp) + "varnquill-ui-" + std::to_string(GetCurrentProcessId()) + "-" + test->name() + "\\";
    for (char& c : folder_)
        if (c == '/')
            c = '_';
    ASSERT_TRUE(CreateDirectoryA(folder_.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS);
    dialogs = std::make_unique<testcommon::DialogAnswerer>();
    form = std::make_unique<TForm1>(services);
    // Start-up reports nothing on a clean registry.
    EXPECT_TRUE(dialogs->Take().empty());
}

void EditorWindow::TearDown()
{
    form.reset();
    EXPECT_TRUE(dialogs->Take().empty()) << "a dialog nobody looked at";
    dialogs.reset();
    RemoveFolder(folder_);
    ForgetSettings();
}

void EditorWindow::WriteDatabase(const std::string& path, const std::vector<std::string>& texts) const
{
    std::string bytes;
    for (const std::string& text : texts) {
        std::string record(SignatureRecordSize, '\0');
        record.replace(1, text.size(), text);
        bytes += record;
    }
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file << bytes;
    ASSERT_TRUE(file.good()) << path;
}

std::optional<std::string> EditorWindow::FileBytes(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file)
        return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(file), {});
}

std::vector<std::string> EditorWindow::RecordTexts(const std::string& path)
{
    const std::string bytes = FileBytes(path).value_or("");
    std::vector<std::string> texts;
    for (std::size_t at = 0; at + SignatureRecordSize <= bytes.size(); at += SignatureRecordSize) {
        SignatureRecord record{};
        bytes.copy(record.data(), SignatureRecordSize, at);
        texts.push_back(TextOfRecord(record));
    }
    return texts;
}

void EditorWindow::Type(const std::string& text)
{
    const HWND field = EditorOf(*form).SigMemo.Handle();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n')
            continue; // the Enter before it made the line break
        SendMessageA(field, WM_CHAR, static_cast<unsigned char>(text[i]), 1);
    }
}
