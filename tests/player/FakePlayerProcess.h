#pragma once
#include "base/Handles.h"

#include <string>

// A running FakePlayer.exe (built beside the test executables), started with the given
// arguments, e.g. R"(--title "12. Artist - Song - Winamp" --state playing)". With an image
// name, a copy of it under that name runs instead (e.g. "Spotify.exe", for the players
// known by their process image), from a folder beside the tests named after the running
// test executable. The constructor returns once the player's window is up; the destructor
// terminates the process and waits until it, and so its window, is gone.
class FakePlayerProcess {
public:
    explicit FakePlayerProcess(const std::string& arguments, const std::string& imageName = "");
    ~FakePlayerProcess();
    FakePlayerProcess(const FakePlayerProcess&) = delete;
    FakePlayerProcess& operator=(const FakePlayerProcess&) = delete;

    // The window of class "Winamp v1.x", or null when there is none.
    static HWND PlayerWindow();

private:
    base::KernelHandle process_;
};
