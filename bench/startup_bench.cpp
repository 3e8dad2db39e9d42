// Start-up benchmark: Varnquill against the floor, a program that only shows an empty
// window, started alternately in the same run.
//
//   start-up   from CreateProcess until the program first waits for input, which it does
//              only after its main window's first paint (median of the runs)
//   idle       started with /MIN and left alone in the tray: working set, private bytes,
//              and the processor time it uses while idle (none when nothing wakes it)
//
// The program runs from a fresh folder with its registry key removed, so the auto-change
// timer is off and no side file is read. Targets: start-up under 1.5 times the floor; no
// processor time while idle.
#include "toolkit/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 9;
constexpr DWORD ReadyTimeoutMs = 30000;
constexpr DWORD SettleMs = 2000;
constexpr DWORD IdleWatchMs = 10000;

struct Started {
    toolkit::KernelHandle process;
    double readyMs = 0;
};

Started Start(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"";
    commandLine += program;
    commandLine += '"';
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    LARGE_INTEGER frequency, before, after;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&before);
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        throw std::runtime_error("cannot start " + program);
    Started started;
    started.process.Reset(info.hProcess);
    toolkit::KernelHandle thread(info.hThread);
    if (WaitForInputIdle(info.hProcess, ReadyTimeoutMs) != 0)
        throw std::runtime_error(program + " did not get ready");
    QueryPerformanceCounter(&after);
    started.readyMs = 1000.0 * static_cast<double>(after.QuadPart - before.QuadPart) /
                      static_cast<double>(frequency.QuadPart);
    return started;
}

void End(Started& started)
{
    // The benchmark only needs the process gone; its exit code does not matter.
    TerminateProcess(started.process.Get(), 0);
    WaitForSingleObject(started.process.Get(), ReadyTimeoutMs);
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

ULONGLONG ProcessorTime100ns(HANDLE process)
{
    FILETIME created, exited, kernel, user;
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user))
        throw std::runtime_error("cannot read the processor time");
    const auto value = [](const FILETIME& t) {
        return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime;
    };
    return value(kernel) + value(user);
}

struct Idle {
    double workingSetKb = 0;
    double privateKb = 0;
    double processorMs = 0;
};

Idle MeasureIdle(const std::string& program, const std::string& arguments)
{
    Started started = Start(program, arguments);
    Sleep(SettleMs); // let start-up's last messages and the shell's answers pass
    Idle idle;
    const ULONGLONG before = ProcessorTime100ns(started.process.Get());
    Sleep(IdleWatchMs);
    idle.processorMs = static_cast<double>(ProcessorTime100ns(started.process.Get()) - before) / 10000.0;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(started.process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory))
        throw std::runtime_error("cannot read the memory counters");
    idle.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    idle.privateKb = static_cast<double>(memory.PrivateUsage) / 1024.0;
    End(started);
    return idle;
}

std::string FreshCopy(const std::string& program)
{
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp))
        throw std::runtime_error("no temporary folder");
    const std::string folder = std::string(temp) + "varnquill-bench-" + std::to_string(GetCurrentProcessId());
    if (!CreateDirectoryA(folder.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS)
        throw std::runtime_error("cannot create " + folder);
    const std::string copy = folder + "\\Varnquill.exe";
    if (!CopyFileA(program.c_str(), copy.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + program);
    return copy;
}

} // namespace

int main()
{
    try {
        // Missing already is as good as removed.
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
        const std::string varnquill = FreshCopy(VARNQUILL_EXE);
        const std::string floor = FLOOR_EXE;

        std::vector<double> programMs, floorMs;
        for (int run = 0; run < Runs; ++run) {
            // Alternating, so both meet the same state of the machine.
            Started a = Start(floor, "");
            floorMs.push_back(a.readyMs);
            End(a);
            Started b = Start(varnquill, "");
            programMs.push_back(b.readyMs);
            End(b);
        }
        const double programStart = Median(programMs);
        const double floorStart = Median(floorMs);
        const Idle programIdle = MeasureIdle(varnquill, "/MIN");
        const Idle floorIdle = MeasureIdle(floor, "");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");

        std::printf("%-34s %12s %12s %8s\n", "", "Varnquill", "empty window", "ratio");
        std::printf("%-34s %9.1f ms %9.1f ms %8.2f\n", "start-up to first idle (median)", programStart, floorStart,
                    programStart / floorStart);
        std::printf("%-34s %9.0f KB %9.0f KB %8.2f\n", "idle working set", programIdle.workingSetKb,
                    floorIdle.workingSetKb, programIdle.workingSetKb / floorIdle.workingSetKb);
        std::printf("%-34s %9.0f KB %9.0f KB %8.2f\n", "idle private bytes", programIdle.privateKb,
                    floorIdle.privateKb, programIdle.privateKb / floorIdle.privateKb);
        std::printf("%-34s %9.1f ms %9.1f ms\n", "processor time idle for 10 s", programIdle.processorMs,
                    floorIdle.processorMs);
        const bool startOk = programStart < 1.5 * floorStart;
        const bool idleOk = programIdle.processorMs == 0.0;
        std::printf("start-up under 1.5x the floor: %s\n", startOk ? "yes" : "NO");
        std::printf("no processor time while idle in the tray: %s\n", idleOk ? "yes" : "NO");
        return startOk && idleOk ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "startup_bench: %s\n", failure.what());
        return 2;
    }
}
