// The setup program and its uninstaller, run silently as a user's script would, checked by
// what they leave behind: files, registry values, shortcuts and the running program. Runs
// in a Wine prefix of its own, against the real registry, files and tray.
#include "tests/e2e/Desktop.h"
#include "tests/e2e/MachineRegistry.h"
#include "toolkit/Handles.h"

#include <gtest/gtest.h>
#include <shlobj.h>

#include <optional>
#include <string>

namespace {

constexpr DWORD SetupTimeoutMs = 120000;
constexpr DWORD StartTimeoutMs = 30000;
constexpr const char* UninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Varnquill";
// The static-text field's place in the main window's client area.
constexpr int StaticTextX = 8;
constexpr int StaticTextY = 137 + 104;

std::string ShellFolder(int csidl)
{
    char path[MAX_PATH] = "";
    if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path)))
        ADD_FAILURE() << "no shell folder " << csidl;
    return path;
}

const std::string InstallDir = ShellFolder(CSIDL_PROGRAM_FILES) + "\\Varnquill\\";
const std::string InstalledProgram = InstallDir + "Varnquill.exe";
const std::string StartMenuShortcut = ShellFolder(CSIDL_COMMON_PROGRAMS) + "\\Varnquill.lnk";
const std::string DesktopShortcut = ShellFolder(CSIDL_COMMON_DESKTOPDIRECTORY) + "\\Varnquill.lnk";

toolkit::KernelHandle Start(const std::string& commandLine)
{
    std::string line = commandLine;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
        ADD_FAILURE() << "cannot start " << commandLine;
    toolkit::KernelHandle thread(started.hThread);
    return toolkit::KernelHandle(started.hProcess);
}

bool Ended(HANDLE process, DWORD timeoutMs)
{
    return WaitForSingleObject(process, timeoutMs) == WAIT_OBJECT_0;
}

// Runs the command to its end and answers its exit code.
DWORD Run(const std::string& commandLine)
{
    toolkit::KernelHandle process = Start(commandLine);
    DWORD code = 0;
    if (!process || !Ended(process.Get(), SetupTimeoutMs) || !GetExitCodeProcess(process.Get(), &code))
        return DWORD(-1);
    return code;
}

DWORD RunSetup(const std::string& options)
{
    return Run(std::string("\"") + SETUP_EXE + "\" /S" + options);
}

// An NSIS uninstaller started plainly copies itself away and returns at once; run in place
// (from a copy outside the folder, as the original is among the files it removes) it is
// waited for.
DWORD Uninstall(const std::string& uninstallerCopy)
{
    return Run("\"" + uninstallerCopy + "\" /S _?=" + InstallDir.substr(0, InstallDir.size() - 1));
}

std::string CopyOfUninstaller()
{
    char temp[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, temp);
    const std::string copy = std::string(temp) + "varnquill-uninstall-copy.exe";
    EXPECT_TRUE(CopyFileA((InstallDir + "uninstall.exe").c_str(), copy.c_str(), FALSE));
    return copy;
}

bool Exists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::optional<std::string> ReadAll(const std::string& path)
{
    toolkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return std::nullopt;
    char bytes[4096];
    DWORD got = 0;
    if (!ReadFile(file.Get(), bytes, sizeof bytes, &got, nullptr))
        return std::nullopt;
    return std::string(bytes, got);
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    toolkit::FileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ASSERT_TRUE(file && WriteFile(file.Get(), bytes.data(), DWORD(bytes.size()), &written, nullptr));
}

// A value under HKEY_LOCAL_MACHINE as text: a string as it is, a number in decimal.
std::optional<std::string> MachineValue(const char* keyPath, const char* name)
{
    char data[1024] = "";
    DWORD size = sizeof data;
    DWORD type = 0;
    if (RegGetValueA(HKEY_LOCAL_MACHINE, keyPath, name, RRF_RT_REG_SZ | RRF_RT_REG_DWORD, &type, data, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    if (type == REG_DWORD)
        return std::to_string(*reinterpret_cast<const DWORD*>(data));
    return std::string(data);
}

std::string ShortcutTarget(const std::string& shortcut)
{
    std::string target;
    IShellLinkA* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&link))))
        return target;
    IPersistFile* file = nullptr;
    wchar_t wide[MAX_PATH];
    MultiByteToWideChar(CP_ACP, 0, shortcut.c_str(), -1, wide, MAX_PATH);
    char path[MAX_PATH] = "";
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        if (SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(path, MAX_PATH, nullptr, 0)))
            target = path;
        file->Release();
    }
    link->Release();
    return target;
}

class Installer : public ::testing::Test {
protected:
    static void SetUpTestSuite() { ASSERT_TRUE(SUCCEEDED(CoInitialize(nullptr))); }
    static void TearDownTestSuite() { CoUninitialize(); }

    // Each test begins on a machine without Varnquill's settings or side files.
    void SetUp() override
    {
        e2e::ForgetProgramSettings();
        DeleteFileA((InstallDir + "sigs.list").c_str()); // absent already on a first run
        DeleteFileA((InstallDir + "static.sig.qmz").c_str()); // likewise
    }

    // A copy the setup did not end must not hold the next test's installation.
    void TearDown() override
    {
        if (program && !Ended(program.Get(), 0))
            TerminateProcess(program.Get(), 1); // the test has failed already; this only tidies
    }

    // Starts the installed program and waits until it has shown its icon in the tray.
    HANDLE StartInstalled()
    {
        const int iconsBefore = e2e::TrayIconCount();
        program = Start("\"" + InstalledProgram + "\"");
        EXPECT_EQ(WaitForInputIdle(program.Get(), StartTimeoutMs), 0u);
        EXPECT_EQ(e2e::TrayIconCount(), iconsBefore + 1);
        return program.Get();
    }

    toolkit::KernelHandle program;
};

TEST_F(Installer, InstallsSilentlyAndUninstallsKeepingTheSettings)
{
    ASSERT_EQ(RunSetup(" /STARTUP /DESKTOP"), 0u);
    EXPECT_TRUE(Exists(InstalledProgram));
    EXPECT_TRUE(Exists(InstallDir + "uninstall.exe"));
    const std::string location = InstallDir.substr(0, InstallDir.size() - 1);
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayName"), "Varnquill");
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayVersion"), VARNQUILL_VERSION);
    EXPECT_EQ(MachineValue(UninstallKey, "Publisher"), "qmz");
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayIcon"), InstalledProgram);
    EXPECT_EQ(MachineValue(UninstallKey, "InstallLocation"), location);
    EXPECT_EQ(MachineValue(UninstallKey, "UninstallString"), "\"" + InstallDir + "uninstall.exe\"");
    EXPECT_EQ(MachineValue(UninstallKey, "QuietUninstallString"), "\"" + InstallDir + "uninstall.exe\" /S");
    EXPECT_GT(std::stoul(MachineValue(UninstallKey, "EstimatedSize").value_or("0")), 0ul);
    EXPECT_EQ(MachineValue(UninstallKey, "NoModify"), "1");
    EXPECT_EQ(MachineValue(UninstallKey, "NoRepair"), "1");
    EXPECT_EQ(ShortcutTarget(StartMenuShortcut), InstalledProgram);
    EXPECT_EQ(ShortcutTarget(DesktopShortcut), InstalledProgram);
    EXPECT_EQ(e2e::StartupEntry(), "\"" + InstalledProgram + "\" /MIN");

    e2e::StoreSetting("Minutes", "25");
    const HANDLE running = StartInstalled();
    const std::string uninstaller = CopyOfUninstaller();
    ASSERT_EQ(Uninstall(uninstaller), 0u);
    // The running copy was ended through its own Exit, which saves the database list.
    EXPECT_TRUE(Ended(running, 0));
    EXPECT_EQ(ReadAll(InstallDir + "sigs.list"), "");
    for (const std::string& path : {InstalledProgram, InstallDir + "uninstall.exe", StartMenuShortcut, DesktopShortcut})
        EXPECT_FALSE(Exists(path)) << path;
    EXPECT_EQ(MachineValue(UninstallKey, "DisplayName"), std::nullopt);
    EXPECT_EQ(e2e::StartupEntry(), std::nullopt);
    EXPECT_EQ(e2e::StoredSetting("Minutes"), "25");

    // Once more, over what is left: nothing of the user's goes.
    EXPECT_EQ(Uninstall(uninstaller), 0u);
    EXPECT_EQ(e2e::StoredSetting("Minutes"), "25");
    EXPECT_TRUE(Exists(InstallDir + "sigs.list"));
    DeleteFileA(uninstaller.c_str()); // a leftover in the temporary folder harms nothing
}

TEST_F(Installer, UpgradeOverARunningCopyEndsItThroughExitAndKeepsItsSettings)
{
    ASSERT_EQ(RunSetup(""), 0u);
    EXPECT_EQ(e2e::StartupEntry(), std::nullopt);
    EXPECT_FALSE(Exists(DesktopShortcut));
    e2e::StoreSetting("Balloon", "True");
    WriteAll(InstallDir + "sigs.list", "C:\\sigs\\one.sigs\r\n");
    const HANDLE running = StartInstalled();
    const HWND form = e2e::TopLevelWindowOf(GetProcessId(running), "TForm1");
    ASSERT_NE(form, nullptr);
    const HWND staticText = e2e::ControlAt(form, "Edit", StaticTextX, StaticTextY);
    ASSERT_NE(staticText, nullptr);
    e2e::SetText(staticText, "Kept\r\ntext");

    ASSERT_EQ(RunSetup(""), 0u);
    EXPECT_TRUE(Ended(running, 0));
    EXPECT_EQ(ReadAll(InstallDir + "static.sig.qmz"), "Kept\r\ntext");
    EXPECT_EQ(ReadAll(InstallDir + "sigs.list"), "C:\\sigs\\one.sigs\r\n");
    EXPECT_EQ(e2e::StoredSetting("Balloon"), "True");
    EXPECT_TRUE(Exists(InstalledProgram));
    EXPECT_EQ(MachineValue(UninstallKey, "InstallLocation"), InstallDir.substr(0, InstallDir.size() - 1));

    const std::string uninstaller = CopyOfUninstaller();
    EXPECT_EQ(Uninstall(uninstaller), 0u);
    DeleteFileA(uninstaller.c_str()); // a leftover in the temporary folder harms nothing
}

} // namespace
