#pragma once
#include "toolkit/Handles.h"

#include <windows.h>

#include <optional>
#include <string>

// One run of the built program: a copy of Varnquill.exe in a fresh directory of its own
// (its side files live beside it), started as a separate process. The destructor ends the
// process by its handle, whatever state it is in, and removes the directory.
namespace e2e {

// Every byte of the file, or nothing when it cannot be opened.
std::optional<std::string> FileBytes(const std::string& path);

class ProgramUnderTest {
public:
    ProgramUnderTest();
    // The copy of the program already in this directory (ending in a backslash), which the
    // run leaves as it is.
    explicit ProgramUnderTest(std::string existingDirectory);
    ~ProgramUnderTest();
    ProgramUnderTest(const ProgramUnderTest&) = delete;
    ProgramUnderTest& operator=(const ProgramUnderTest&) = delete;

    // The program's directory, ending in a backslash, and the copy's full path.
    const std::string& Directory() const noexcept { return directory_; }
    std::string ProgramPath() const { return directory_ + "Varnquill.exe"; }

    // Files in the program's directory.
    void WriteFile(const std::string& name, const std::string& bytes) const;
    std::optional<std::string> ReadFile(const std::string& name) const;

    // Starts the program with these arguments and waits until it waits for input (a message
    // box shown during start-up counts as waiting too) and its icon is in the tray.
    void Start(const std::string& arguments = "");
    // Starts the program with these arguments and waits until it ends by itself, without
    // ever waiting for input; answers its exit code.
    DWORD StartAndWaitForEnd(const std::string& arguments = "");
    DWORD ProcessId() const noexcept { return processId_; }
    HANDLE Process() const noexcept { return process_.Get(); }
    bool Running() const;
    // How many icons the tray showed just before the start.
    int TrayIconsBeforeStart() const noexcept { return trayIconsBefore_; }
    // The main window (class MainWindowClassName), or null.
    HWND MainWindow() const;

    // Ends the process now and waits until it is gone, and its icon with it.
    void Terminate();

private:
    void Launch(const std::string& arguments);

    std::string directory_;
    bool ownsDirectory_ = true;
    base::KernelHandle process_;
    DWORD processId_ = 0;
    int trayIconsBefore_ = 0;
};

} // namespace e2e
