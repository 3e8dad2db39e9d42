// The setup program and its uninstaller, run silently as a user's script would, checked by
// what they leave behind: files, registry values, shortcuts and the running program. Runs
// in a Wine prefix of its own, against the real registry, files and tray.
#include "tests/e2e/Desktop.h"
#include "tests/common/MachineRegistry.h"
#include "tests/common/StartProcess.h"
#include "tests/common/TestFiles.h"
#include "base/Handles.h"
#include "base/Version.h"
#include "ui/MainWindowClass.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr DWORD SetupTimeoutMs = 120000;
constexpr DWORD StartTimeoutMs = 30000;
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnquill";

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    EXPECT_EQ(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path), S_OK) << csidl;
    return path;
}

base::KernelHandle Start(std::string commandLine)
{
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    EXPECT_TRUE(StartProcess(commandLine, startup, started)) << commandLine << ": error " << GetLastError();
    base::KernelHandle thread(started.hThread);
    return base::KernelHandle(started.hProcess);
}

bool Ended(HANDLE process, DWORD timeoutMs = 0)
{
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

// Runs the command to its end and answers its exit code.
DWORD RunToEnd(const std::string& commandLine)
{
    base::KernelHandle process = Start(commandLine);
    DWORD code = DWORD(-1);
    if (process && Ended(process.Get(), SetupTimeoutMs))
        GetExitCodeProcess(process.Get(), &code); // on failure the code stays an impossible one
    return code;
}

// A value under HKEY_LOCAL_MACHINE as text: a string as it is, a number in decimal.
std::optional<std::string> MachineValue(const char* name)
{
    char data[1024] = "";
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, UninstallKey, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data, &size))
        return std::nullopt;
    return type == REG_DWORD ? std::to_string(*reinterpret_cast<const DWORD*>(data)) : std::string(data);
}

class Installer : public ::testing::Test {
protected:
    const std::string folder = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Varnquill"; // the 64-bit one
    const std::string program = folder + "\\Varnquill.exe";
    const std::string console = folder + "\\vqsig.exe";
    const std::string starter = folder + "\\Quotes.sigs"; // the collection a first start lists
    const std::string startMenuShortcut = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Varnquill.lnk";
    const std::string desktopShortcut = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Varnquill.lnk";
    const std::string uninstallerCopy = ShellFolder(CSIDL_COMMON_APPDATA) + "\\varnquill-uninstall.exe";
    base::KernelHandle running;

    // Each test begins on a machine without Varnquill's settings or side files.
    void SetUp() override
    {
        e2e::ForgetProgramSettings();
        DeleteFileA((folder + "\\sigs.list").c_str());      // absent already on a first run
        DeleteFileA((folder + "\\static.sig.qmz").c_str()); // likewise
    }

    void TearDown() override
    {
        // A copy the setup failed to end must not hold the next test's installation.
        if (running && !Ended(running.Get()))
            TerminateProcess(running.Get(), 1); // the test has failed already; this only tidies
        DeleteFileA(uninstallerCopy.c_str()); // a leftover harms nothing
    }

    DWORD RunSetup(const std::string& options) { return RunToEnd(std::string("\"") + SETUP_EXE + "\" /S" + options); }

    // An NSIS uninstaller started plainly copies itself away and returns at once; run in
    // place from a copy (the original is among the files it removes) it is waited for.
    DWORD Uninstall()
    {
        if (!FileExists(uninstallerCopy)) {
            EXPECT_TRUE(CopyFileA((folder + "\\uninstall.exe").c_str(), uninstallerCopy.c_str(), TRUE));
        }
        return RunToEnd("\"" + uninstallerCopy + "\" /S _?=" + folder);
    }

    // Starts the installed program and waits until its icon is in the tray.
    void StartInstalled()
    {
        const int iconsBefore = e2e::TrayIconCount();
        running = Start("\"" + program + "\"");
        EXPECT_EQ(WaitForInputIdle(running.Get(), StartTimeoutMs), 0u);
        EXPECT_EQ(e2e::TrayIconCount(), iconsBefore + 1);
    }
};

TEST_F(Installer, InstallsSilentlyAndUninstallsKeepingTheSettings)
{
    ASSERT_EQ(RunSetup(" /STARTUP /DESKTOP"), 0u);
    const std::string uninstaller = folder + "\\uninstall.exe";
    for (const std::string& path : {program, console, starter, uninstaller, startMenuShortcut, desktopShortcut})
        EXPECT_TRUE(FileExists(path)) << path;
    const std::size_t starterSize = ReadBytes(starter).size();
    EXPECT_GE(starterSize, 500u * 513);
    EXPECT_EQ(starterSize % 513, 0u);
    EXPECT_EQ(MachineValue("DisplayName"), "Varnquill");
    EXPECT_EQ(MachineValue("DisplayVersion"), VARNQUILL_VERSION);
    EXPECT_EQ(MachineValue("Publisher"), "qmz");
    EXPECT_EQ(MachineValue("DisplayIcon"), program);
    EXPECT_EQ(MachineValue("InstallLocation"), folder);
    EXPECT_EQ(MachineValue("UninstallString"), "\"" + uninstaller + "\"");
    EXPECT_EQ(MachineValue("QuietUninstallString"), "\"" + uninstaller + "\" /S");
    EXPECT_GT(std::stoul(MachineValue("EstimatedSize").value_or("0")), 0ul);
    EXPECT_EQ(MachineValue("NoModify"), "1");
    EXPECT_EQ(MachineValue("NoRepair"), "1");
    EXPECT_EQ(e2e::StartupEntry(), "\"" + program + "\" /MIN");

    e2e::StoreSetting("Minutes", "25");
    StartInstalled();
    ASSERT_EQ(Uninstall(), 0u);
    // The running copy was ended through its own Exit, which saves the database list.
    EXPECT_TRUE(Ended(running.Get()));
    EXPECT_EQ(ReadBytes(folder + "\\sigs.list"), "");
    for (const std::string& path : {program, console, starter, uninstaller, startMenuShortcut, desktopShortcut})
        EXPECT_FALSE(FileExists(path)) << path;
    EXPECT_EQ(MachineValue("DisplayName"), std::nullopt);
    EXPECT_EQ(e2e::StartupEntry(), std::nullopt);
    EXPECT_EQ(e2e::StoredSetting("Minutes"), "25");

    // Once more, over what is left: nothing of the user's goes.
    EXPECT_EQ(Uninstall(), 0u);
    EXPECT_EQ(e2e::StoredSetting("Minutes"), "25");
    EXPECT_TRUE(FileExists(folder + "\\sigs.list"));
}

// Where the program folder is the user's own, a first start lists the starter collection in
// it, and its records are the user's once edited: an edit of the same size is the hardest to
// tell.
TEST_F(Installer, AnEditedStarterCollectionOutlivesUpgradeAndUninstall)
{
    ASSERT_EQ(RunSetup(""), 0u);
    std::string edited = ReadBytes(starter);
    ASSERT_GT(edited.size(), 513u);
    edited.replace(0, 6, "Edited");
    WriteBytes(starter, edited);

    ASSERT_EQ(RunSetup(""), 0u);
    EXPECT_EQ(ReadBytes(starter), edited);
    ASSERT_EQ(Uninstall(), 0u);
    EXPECT_FALSE(FileExists(program));
    EXPECT_EQ(ReadBytes(starter), edited);
    const DWORD folderAttributes = GetFileAttributesA(folder.c_str());
    EXPECT_TRUE(folderAttributes != INVALID_FILE_ATTRIBUTES && (folderAttributes & FILE_ATTRIBUTE_DIRECTORY))
        << "the folder holding the user's database stays";

    DeleteFileA(starter.c_str());
    RemoveDirectoryA(folder.c_str()); // empty now; the next test installs afresh
}

TEST_F(Installer, UpgradeOverARunningCopyEndsItThroughExitAndKeepsItsSettings)
{
    ASSERT_EQ(RunSetup(""), 0u);
    EXPECT_EQ(e2e::StartupEntry(), std::nullopt);
    EXPECT_FALSE(FileExists(desktopShortcut));
    e2e::StoreSetting("Balloon", "True");
    WriteBytes(folder + "\\sigs.list", "C:\\sigs\\one.sigs\r\n");
    StartInstalled();
    const HWND form = e2e::TopLevelWindowOf(GetProcessId(running.Get()), MainWindowClassName);
    // The static-text field, at 8, 104 in the "Database" group.
    const HWND staticText = form ? e2e::ControlAt(form, "Edit", 8, 137 + 104) : nullptr;
    ASSERT_NE(staticText, nullptr);
    e2e::SetText(staticText, "Kept\r\ntext");

    ASSERT_EQ(RunSetup(""), 0u);
    EXPECT_TRUE(Ended(running.Get()));
    EXPECT_EQ(ReadBytes(folder + "\\static.sig.qmz"), "Kept\r\ntext");
    EXPECT_EQ(ReadBytes(folder + "\\sigs.list"), "C:\\sigs\\one.sigs\r\n");
    EXPECT_EQ(e2e::StoredSetting("Balloon"), "True");
    EXPECT_TRUE(FileExists(program));

    // The user's own start-up entry for this installation goes too; and a program file held
    // open, as a copy running in another session holds it, goes at the next restart.
    HKEY run = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, e2e::RunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &run,
                              nullptr), ERROR_SUCCESS);
    const base::RegistryKey runKey(run);
    const std::string command = "\"" + program + "\" /MIN";
    ASSERT_EQ(RegSetValueExA(run, e2e::StartupValueName, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                             static_cast<DWORD>(command.size() + 1)), ERROR_SUCCESS);
    {
        const base::FileHandle held(CreateFileA(program.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
        ASSERT_TRUE(held);
        EXPECT_EQ(Uninstall(), 0u);
        EXPECT_EQ(e2e::StartupEntry(HKEY_CURRENT_USER), std::nullopt);
        EXPECT_EQ(MachineValue("DisplayName"), std::nullopt);
        EXPECT_FALSE(FileExists(console));
    }
    char pending[4096] = {};
    DWORD size = sizeof pending - 2;
    ASSERT_EQ(RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                           "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, pending, &size), ERROR_SUCCESS);
    bool removedAtRestart = false;
    // Pairs of names, each ended by a NUL: what is moved, and where to (empty: deleted).
    for (const char* entry = pending; entry < pending + size && *entry; entry += std::strlen(entry) + 1) {
        removedAtRestart = removedAtRestart || std::string(entry) == "\\??\\" + program;
        entry += std::strlen(entry) + 1;
    }
    EXPECT_TRUE(removedAtRestart);
    DeleteFileA(program.c_str()); // what the restart would do
}

} // namespace
