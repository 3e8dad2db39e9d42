#pragma once
#include <windows.h>

#include <string>

// CreateProcessA, tried up to three times half a second apart. Wine on a loaded machine now
// and then refuses to start a process once (seen in CI for the setup program, a moment after
// it had started fine); a second try is what a user would do too, and a start that keeps
// failing still fails. On failure the last error is the last try's.
inline bool StartProcess(std::string commandLine, const STARTUPINFOA& startup, PROCESS_INFORMATION& started,
                         BOOL inheritHandles = FALSE, const char* directory = nullptr)
{
    STARTUPINFOA info = startup; // CreateProcessA takes it as writable
    for (int attempt = 0; attempt < 3; ++attempt) {
        if (attempt > 0)
            Sleep(500);
        if (CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, inheritHandles, 0, nullptr, directory,
                           &info, &started))
            return true;
    }
    return false;
}
