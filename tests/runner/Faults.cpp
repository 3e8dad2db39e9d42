// Ways a test program can go wrong that its exit status alone may hide from ctest under Wine.
// faults-fail.sh starts it once for each and expects a failure, promptly.
//   runner_faults null | terminate | low-byte-zero     crashes or exits at once
//   runner_faults --gtest_filter=Runner.<test>          one of the tests below
#include "tests/common/StartProcess.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <exception>
#include <string>

namespace {

bool Asked(int argc, char** argv, const char* how)
{
    return argc > 1 && std::strcmp(argv[1], how) == 0;
}

} // namespace

// Keeps faults-fail.sh honest: a run that goes well must still pass.
TEST(Runner, Passes)
{
    SUCCEED();
}

// Code under test that ends the whole program, with "success", before its tests are over.
TEST(Runner, EndsEarly)
{
    std::exit(0);
}

// Ended by another process while it runs, as Wine's debugger ends a crashed program: Wine
// then gives the shell status 0 whatever the exit code (measured with code 3).
TEST(Runner, EndedByAnotherProcess)
{
    char self[MAX_PATH] = {};
    ASSERT_NE(GetModuleFileNameA(nullptr, self, MAX_PATH), 0u);
    const std::string commandLine = std::string("\"") + self + "\" end " + std::to_string(GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(StartProcess(commandLine, startup, started));
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    // Busy rather than waiting: a process ended while it waits in Wine keeps its exit code.
    // The end comes long before the 10 s are over; should it not, the failure below fails too.
    for (const DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    }
    ADD_FAILURE() << "not ended by the other process";
}

int main(int argc, char** argv)
{
    if (Asked(argc, argv, "null")) {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
    if (Asked(argc, argv, "terminate"))
        std::terminate();
    // Only an exit code's low byte reaches the shell, and this one's is 0.
    if (Asked(argc, argv, "low-byte-zero"))
        ExitProcess(0xC0000100);
    if (Asked(argc, argv, "end") && argc > 2) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE, FALSE, std::strtoul(argv[2], nullptr, 10));
        const bool ended = process && TerminateProcess(process, 3);
        return ended ? 0 : 1; // the test that started this one fails by itself if it is not ended
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
