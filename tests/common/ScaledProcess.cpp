#include "ScaledProcess.h"

#include "base/Handles.h"

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <stdexcept>

namespace testcommon {

namespace {

constexpr const char* DesktopKey = "Control Panel\\Desktop";
constexpr const char* LogPixels = "LogPixels";
constexpr const char* DpiVariable = "VARNQUILL_TEST_DPI";
constexpr DWORD RunLimitMs = 120000; // only keeps a hung window from stopping the suite

// The per-user LogPixels for as long as the object lives.
class UserLogPixels {
public:
    explicit UserLogPixels(DWORD dpi)
    {
        if (RegCreateKeyExA(HKEY_CURRENT_USER, DesktopKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr,
                            &key_, nullptr) != ERROR_SUCCESS)
            throw std::runtime_error("HKCU\\Control Panel\\Desktop cannot be opened");
        DWORD value = 0;
        DWORD size = sizeof value;
        DWORD type = 0;
        if (RegQueryValueExA(key_, LogPixels, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
                ERROR_SUCCESS &&
            type == REG_DWORD)
            previous_ = value;
        Set(dpi);
    }
    ~UserLogPixels()
    {
        if (previous_)
            Set(*previous_);
        else
            RegDeleteValueA(key_, LogPixels); // nothing else to do should it fail
        RegCloseKey(key_);
    }
    UserLogPixels(const UserLogPixels&) = delete;
    UserLogPixels& operator=(const UserLogPixels&) = delete;

private:
    void Set(DWORD dpi)
    {
        if (RegSetValueExA(key_, LogPixels, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&dpi), sizeof dpi) !=
            ERROR_SUCCESS)
            throw std::runtime_error("LogPixels cannot be set");
    }

    HKEY key_ = nullptr;
    std::optional<DWORD> previous_;
};

std::string ThisExecutable()
{
    char path[MAX_PATH] = {};
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        throw std::runtime_error("this executable's path is unknown");
    return std::string(path, length);
}

} // namespace

ScaledRun RunThisExecutableAt(UINT dpi, const std::string& gtestFilter)
{
    char temporary[MAX_PATH] = {};
    char outputPath[MAX_PATH] = {};
    if (!GetTempPathA(MAX_PATH, temporary) || !GetTempFileNameA(temporary, "dpi", 0, outputPath))
        throw std::runtime_error("no file for the scaled run's output");
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
        startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
        startup.hStdOutput = output.Get();
        startup.hStdError = output.Get();
        std::string commandLine = "\"";
        commandLine += ThisExecutable();
        commandLine += "\" --gtest_color=no --gtest_filter=";
        commandLine += gtestFilter;
        // Held until the process ends: Wine reads it when the process first draws, and no
        // other process of the suite starts meanwhile.
        const UserLogPixels density(dpi);
        const std::string value = std::to_string(dpi);
        SetEnvironmentVariableA(DpiVariable, value.c_str());
        PROCESS_INFORMATION started{};
        const BOOL created = CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                                            &startup, &started);
        SetEnvironmentVariableA(DpiVariable, nullptr);
        if (!created)
            throw std::runtime_error("the scaled run cannot be started");
        base::KernelHandle thread(started.hThread);
        base::KernelHandle process(started.hProcess);
        if (WaitForSingleObject(process.Get(), RunLimitMs) != WAIT_OBJECT_0) {
            TerminateProcess(process.Get(), 1); // it is ended by the wait's failure below either way
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
    char value[16] = {};
    const DWORD length = GetEnvironmentVariableA(DpiVariable, value, sizeof value);
    if (length == 0 || length >= sizeof value)
        return 0;
    return static_cast<UINT>(std::strtoul(value, nullptr, 10));
}

} // namespace testcommon
