#include "ScaledProcess.h"

#include "base/Handles.h"
#include "tests/common/StartProcess.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace testcommon {

namespace {

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* DpiVariable = "VARNQUILL_TEST_DPI";
constexpr DWORD RunLimitMs = 120000; // only keeps a hung window from stopping the suite

void SetLogPixels(DWORD dpi)
{
    if (RegSetKeyValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels", REG_DWORD, &dpi, sizeof dpi) != ERROR_SUCCESS)
        throw std::runtime_error("LogPixels cannot be set");
}

// The per-user LogPixels for as long as the object lives; then the value before, or none.
class UserLogPixels {
public:
    explicit UserLogPixels(DWORD dpi)
    {
        DWORD value = 0;
        DWORD size = sizeof value;
        if (RegGetValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels", RRF_RT_REG_DWORD, nullptr, &value, &size) ==
            ERROR_SUCCESS)
            previous_ = value;
        SetLogPixels(dpi);
    }
    ~UserLogPixels()
    {
        if (previous_)
            SetLogPixels(*previous_);
        else
            RegDeleteKeyValueA(HKEY_CURRENT_USER, DesktopKey, "LogPixels"); // nothing else to do should it fail
    }

private:
    std::optional<DWORD> previous_;
};

} // namespace

ScaledRun RunThisExecutableAt(UINT dpi, const std::string& gtestFilter)
{
    char self[MAX_PATH] = {};
    char temporary[MAX_PATH] = {};
    char outputPath[MAX_PATH] = {};
    if (!GetModuleFileNameA(nullptr, self, MAX_PATH) || !GetTempPathA(MAX_PATH, temporary) ||
        !GetTempFileNameA(temporary, "dpi", 0, outputPath))
        throw std::runtime_error("no path for the scaled run");
    ScaledRun run;
    {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        base::FileHandle output(CreateFileA(outputPath, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherited,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!output)
            throw std::runtime_error("the scaled run's output file cannot be made");
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        std::string commandLine = "\"";
        commandLine += self;
        commandLine += "\" --gtest_color=no --gtest_filter=";
        commandLine += gtestFilter;
        // Held until the process ends: Wine reads it when the process first draws, and no
        // other process of the suite starts meanwhile.
        const UserLogPixels density(dpi);
        SetEnvironmentVariableA(DpiVariable, std::to_string(dpi).c_str());
        // The test runner's file for an unfinished run is this process's, and GoogleTest has
        // read its name already: a child removing it at its own end would hide an early end
        // of this run. Without the variable there is nothing to remove, so no answer matters.
        SetEnvironmentVariableA("TEST_PREMATURE_EXIT_FILE", nullptr);
        PROCESS_INFORMATION started{};
        const bool created = StartProcess(commandLine, startup, started, TRUE);
        SetEnvironmentVariableA(DpiVariable, nullptr);
        if (!created)
            throw std::runtime_error("the scaled run cannot be started");
        const base::KernelHandle thread(started.hThread);
        const base::KernelHandle process(started.hProcess);
        if (WaitForSingleObject(process.Get(), RunLimitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.Get(), 1); // the run fails below either way
            run.exitCode = WAIT_TIMEOUT;
        } else if (!GetExitCodeProcess(process.Get(), &run.exitCode)) {
            run.exitCode = static_cast<DWORD>(-1);
        }
    }
    std::ifstream file(outputPath, std::ios::binary);
    run.output.assign(std::istreambuf_iterator<char>(file), {});
    file.close();
    DeleteFileA(outputPath); // a leftover in the temporary folder harms nothing
    return run;
}

UINT RequestedDpi()
{
    const char* value = std::getenv(DpiVariable);
    return value ? static_cast<UINT>(std::strtoul(value, nullptr, 10)) : 0;
}

} // namespace testcommon
