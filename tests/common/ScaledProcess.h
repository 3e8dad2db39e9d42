#pragma once
#include <windows.h>

#include <string>

// Runs a test executable again as a process of its own at another pixel density. Wine reads
// the density from the per-user LogPixels value as each process starts, and fonts and
// metrics belong to the process, so a window can only be seen at 120, 144 or 192 pixels per
// inch from inside a process started at that density.
namespace testcommon {

// The densities the suites look at: 100, 125, 150 and 200 percent.
inline constexpr UINT ScaledDensities[] = {96, 120, 144, 192};

struct ScaledRun {
    DWORD exitCode = 0;
    std::string output;
};

// Starts this executable with the gtest filter at dpi, waits for it and answers how it
// ended. LogPixels holds dpi only while the process starts and is restored after (or
// removed again when there was none), so every other suite runs at 96.
ScaledRun RunThisExecutableAt(UINT dpi, const std::string& gtestFilter);

// The density RunThisExecutableAt asked this process to run at; 0 in a process it did not
// start.
UINT RequestedDpi();

} // namespace testcommon
