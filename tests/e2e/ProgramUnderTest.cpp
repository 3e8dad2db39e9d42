#include "tests/e2e/ProgramUnderTest.h"

#include "tests/e2e/Desktop.h"
#include "tests/e2e/EventWait.h"
#include "tests/common/StartProcess.h"
#include "base/SystemError.h"
#include "ui/MainWindowClass.h"

#include <stdexcept>
#include <utility>

namespace e2e {

namespace {

constexpr DWORD StartTimeoutMs = 30000;
constexpr DWORD EndTimeoutMs = 10000;
// How often a wait looks again at what no event announces: the tray's icons.
constexpr DWORD RecheckMs = 50;

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + base::SystemErrorText(GetLastError()));
}

std::string FreshDirectory()
{
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp))
        Fail("no temporary folder");
    static unsigned counter = 0;
    for (;;) {
        const std::string path = std::string(temp) + "varnquill-e2e-" +
                                 std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
        if (CreateDirectoryA(path.c_str(), nullptr))
            return path + "\\";
        if (GetLastError() != ERROR_ALREADY_EXISTS)
            Fail("cannot create " + path);
    }
}

void RemoveDirectoryWithFiles(const std::string& directory)
{
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((directory + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = entry.cFileName;
            if (name == "." || name == "..")
                continue;
            // A leftover is only clutter in the temporary folder; the test result stands.
            // A file a test marked read-only goes too.
            SetFileAttributesA((directory + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((directory + name).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    RemoveDirectoryA(directory.c_str()); // likewise
}

} // namespace

ProgramUnderTest::ProgramUnderTest() : directory_(FreshDirectory())
{
    if (!CopyFileA(VARNQUILL_EXE, ProgramPath().c_str(), FALSE))
        Fail(std::string("cannot copy ") + VARNQUILL_EXE);
}

ProgramUnderTest::ProgramUnderTest(std::string existingDirectory)
    : directory_(std::move(existingDirectory)), ownsDirectory_(false)
{
}

ProgramUnderTest::~ProgramUnderTest()
{
    try {
        Terminate();
    } catch (...) {
        // Nothing more can be done from a destructor; the directory still goes.
    }
    if (ownsDirectory_)
        RemoveDirectoryWithFiles(directory_);
}

void ProgramUnderTest::WriteFile(const std::string& name, const std::string& bytes) const
{
    base::FileHandle file(CreateFileA((directory_ + name).c_str(), GENERIC_WRITE, 0, nullptr,
                                      CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        Fail("cannot create " + name);
    DWORD written = 0;
    if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
        written != bytes.size())
        Fail("cannot write " + name);
}

std::optional<std::string> ProgramUnderTest::ReadFile(const std::string& name) const
{
    return FileBytes(directory_ + name);
}

std::optional<std::string> FileBytes(const std::string& path)
{
    base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file)
        return std::nullopt;
    std::string bytes;
    char chunk[4096];
    DWORD got = 0;
    while (::ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

void ProgramUnderTest::Start(const std::string& arguments)
{
    Launch(arguments);
    if (WaitForInputIdle(process_.Get(), StartTimeoutMs) != 0)
        throw std::runtime_error("the program did not get ready to take input");
    // The icon goes into the tray just after that, unless start-up stopped at a message box
    // or ended the program. A start that never shows one is for its test to find out.
    EventWait().UntilRechecking(
        [this] { return TrayIconCount() > trayIconsBefore_ || !DialogsOf(processId_).empty() || !Running(); },
        StartTimeoutMs, RecheckMs);
}

DWORD ProgramUnderTest::StartAndWaitForEnd(const std::string& arguments)
{
    Launch(arguments);
    if (WaitForSingleObject(process_.Get(), StartTimeoutMs) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end by itself");
    DWORD exitCode = STILL_ACTIVE;
    if (!GetExitCodeProcess(process_.Get(), &exitCode))
        Fail("cannot read the program's exit code");
    return exitCode;
}

void ProgramUnderTest::Launch(const std::string& arguments)
{
    if (process_)
        throw std::logic_error("the program was started already");
    trayIconsBefore_ = TrayIconCount();
    std::string commandLine = "\"";
    commandLine += ProgramPath();
    commandLine += '"';
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!StartProcess(commandLine, startup, started, FALSE, directory_.c_str()))
        Fail("cannot start " + commandLine);
    process_.Reset(started.hProcess);
    base::KernelHandle thread(started.hThread);
    processId_ = started.dwProcessId;
}

bool ProgramUnderTest::Running() const
{
    return process_ && WaitForSingleObject(process_.Get(), 0) == WAIT_TIMEOUT;
}

HWND ProgramUnderTest::MainWindow() const
{
    return TopLevelWindowOf(processId_, MainWindowClassName);
}

void ProgramUnderTest::Terminate()
{
    if (!process_)
        return;
    if (Running() && !TerminateProcess(process_.Get(), 1))
        Fail("cannot end the program");
    if (WaitForSingleObject(process_.Get(), EndTimeoutMs) != WAIT_OBJECT_0)
        throw std::runtime_error("the program did not end");
    process_.Reset();
    // Wine's tray drops the icon of a window that is gone a moment later; the next test
    // counts icons.
    EventWait().UntilRechecking([this] { return TrayIconCount() <= trayIconsBefore_; }, EndTimeoutMs,
                                RecheckMs);
}

} // namespace e2e
