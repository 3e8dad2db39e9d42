#include "tests/player/FakePlayerProcess.h"

#include "base/PathParts.h"
#include "base/SystemError.h"
#include "tests/common/StartProcess.h"

#include <cstdint>
#include <stdexcept>

namespace {

constexpr DWORD StartTimeoutMs = 20000;

std::runtime_error SystemFailure(const std::string& what)
{
    return std::runtime_error(what + ": " + base::SystemErrorText(GetLastError()));
}

std::string TestExecutablePath()
{
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("cannot find the test executable's own path");
    return std::string(path, length);
}

// FakePlayer.exe, or its copy under imageName. Each test executable copies into a folder of
// its own, so two running at once never replace a copy the other runs.
std::string FakePlayerPath(const std::string& imageName)
{
    const std::string test = TestExecutablePath();
    const std::string directory(base::FolderPart(test));
    if (imageName.empty())
        return directory + "FakePlayer.exe";
    const std::string_view name = base::FileNamePart(test);
    const std::string copies =
        directory + std::string(name.substr(0, name.size() - base::ExtensionPart(name).size())) + "-players\\";
    if (!CreateDirectoryA(copies.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw SystemFailure("cannot make " + copies);
    const std::string copy = copies + imageName;
    if (!CopyFileA((directory + "FakePlayer.exe").c_str(), copy.c_str(), FALSE))
        throw SystemFailure("cannot copy FakePlayer.exe to " + copy);
    return copy;
}

} // namespace

FakePlayerProcess::FakePlayerProcess(const std::string& arguments, const std::string& imageName)
{
    const std::string player = FakePlayerPath(imageName);
    // The player sets this inherited event once its window exists.
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    const base::KernelHandle ready(CreateEventA(&inheritable, TRUE, FALSE, nullptr));
    if (!ready)
        throw SystemFailure("cannot create the player's ready event");

    std::string commandLine = '"' + player;
    commandLine += "\" " + arguments + " --ready ";
    commandLine += std::to_string(reinterpret_cast<std::uintptr_t>(ready.Get()));
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    if (!StartProcess(commandLine, startup, started, TRUE))
        throw SystemFailure("cannot start " + player);
    process_.Reset(started.hProcess);
    const base::KernelHandle thread(started.hThread);

    const HANDLE waitFor[] = {ready.Get(), process_.Get()};
    const DWORD woke = WaitForMultipleObjects(2, waitFor, FALSE, StartTimeoutMs);
    if (woke == WAIT_OBJECT_0)
        return;
    TerminateProcess(process_.Get(), 1); // may have ended already; either way it is not used
    if (woke == WAIT_OBJECT_0 + 1)
        throw std::runtime_error("FakePlayer ended before showing its window: " + arguments);
    throw std::runtime_error("FakePlayer did not show its window in time: " + arguments);
}

FakePlayerProcess::~FakePlayerProcess()
{
    // Fails only when the process has already ended, which is the goal.
    TerminateProcess(process_.Get(), 1);
    WaitForSingleObject(process_.Get(), StartTimeoutMs);
}

HWND FakePlayerProcess::PlayerWindow()
{
    return FindWindowA("Winamp v1.x", nullptr);
}
