// Start-up benchmark: Varnquill against the floor, a program that only shows an empty
// window, started alternately in the same run; and, for reference, a program that shows
// the same standard controls made with plain CreateWindowEx, so the controls' own cost on
// this system can be told apart from the program's.
//
//   start-up   from CreateProcess until the program first waits for input, which it does
//              only after its main window's first paint (median of the runs)
//   idle       started with /MIN and left alone in the tray: working set, and how often
//              its threads run while idle - counted by the kernel as context switches of
//              the process's threads, read from /proc (drive Z: under Wine); a timer or a
//              thread that wakes the process shows there
//
// The program runs from a fresh folder with its registry key removed, so the auto-change
// timer is off and no side file is read. Targets: start-up under 1.5 times the floor; no
// wake-up while idle.
#include "toolkit/Handles.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int Runs = 9;
constexpr DWORD ReadyTimeoutMs = 30000;
constexpr DWORD SettleMs = 2000;
constexpr DWORD IdleWatchMs = 10000;

struct Started {
    base::KernelHandle process;
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
    base::KernelHandle thread(info.hThread);
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

// The kernel's count of context switches of every thread of the Linux process that runs
// the program whose command line contains marker; nothing when there is no /proc to read
// (not under Wine) or no such process.
std::string ReadWholeFile(const std::string& path)
{
    base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    std::string bytes;
    if (!file)
        return bytes;
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.Get(), chunk, sizeof chunk, &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    return bytes;
}

std::vector<std::string> Entries(const std::string& folder)
{
    std::vector<std::string> names;
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        const std::string name = entry.cFileName;
        if (name != "." && name != "..")
            names.push_back(name);
    } while (FindNextFileA(search, &entry));
    FindClose(search);
    return names;
}

long long Counter(const std::string& status, const std::string& name)
{
    const std::size_t at = status.find(name + ":");
    return at == std::string::npos ? 0 : std::atoll(status.c_str() + at + name.size() + 1);
}

std::optional<long long> ContextSwitches(const std::string& marker)
{
    const std::string proc = "Z:\\proc";
    for (const std::string& pid : Entries(proc)) {
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string commandLine = ReadWholeFile(proc + "\\" + pid + "\\cmdline");
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (commandLine.find(marker) == std::string::npos)
            continue;
        long long switches = 0;
        for (const std::string& task : Entries(proc + "\\" + pid + "\\task")) {
            const std::string status = ReadWholeFile(proc + "\\" + pid + "\\task\\" + task + "\\status");
            switches += Counter(status, "voluntary_ctxt_switches") + Counter(status, "nonvoluntary_ctxt_switches");
        }
        return switches;
    }
    return std::nullopt;
}

struct Idle {
    double workingSetKb = 0;
    std::optional<long long> wakeUps;
    double processorMs = 0;
};

Idle MeasureIdle(const std::string& program, const std::string& arguments, const std::string& marker)
{
    Started started = Start(program, arguments);
    Sleep(SettleMs); // let start-up's last messages and the shell's answers pass
    Idle idle;
    const ULONGLONG before = ProcessorTime100ns(started.process.Get());
    const std::optional<long long> switchesBefore = ContextSwitches(marker);
    Sleep(IdleWatchMs);
    const std::optional<long long> switchesAfter = ContextSwitches(marker);
    if (switchesBefore && switchesAfter)
        idle.wakeUps = *switchesAfter - *switchesBefore;
    idle.processorMs = static_cast<double>(ProcessorTime100ns(started.process.Get()) - before) / 10000.0;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (!GetProcessMemoryInfo(started.process.Get(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                              sizeof memory))
        throw std::runtime_error("cannot read the memory counters");
    idle.workingSetKb = static_cast<double>(memory.WorkingSetSize) / 1024.0;
    End(started);
    return idle;
}

std::string BenchFolderName()
{
    return "varnquill-bench-" + std::to_string(GetCurrentProcessId());
}

std::string FreshCopy(const std::string& program)
{
    char temp[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, temp))
        throw std::runtime_error("no temporary folder");
    const std::string folder = std::string(temp) + BenchFolderName();
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

        const std::string sameControls = SAME_CONTROLS_EXE;

        std::vector<double> programMs, floorMs, controlsMs;
        for (int run = 0; run < Runs; ++run) {
            // Alternating, so all meet the same state of the machine.
            Started a = Start(floor, "");
            floorMs.push_back(a.readyMs);
            End(a);
            Started b = Start(varnquill, "");
            programMs.push_back(b.readyMs);
            End(b);
            Started c = Start(sameControls, "");
            controlsMs.push_back(c.readyMs);
            End(c);
        }
        const double programStart = Median(programMs);
        const double floorStart = Median(floorMs);
        const double controlsStart = Median(controlsMs);
        const Idle programIdle = MeasureIdle(varnquill, "/MIN", BenchFolderName());
        const Idle floorIdle = MeasureIdle(floor, "", "empty_window");
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");

        std::printf("%-34s %12s %12s %8s\n", "", "Varnquill", "empty window", "ratio");
        std::printf("%-34s %9.1f ms %9.1f ms %8.2f\n", "start-up to first idle (median)", programStart, floorStart,
                    programStart / floorStart);
        std::printf("%-34s %9.1f ms %12s %8.2f\n", "same controls, plain Win32 (median)", controlsStart, "",
                    programStart / controlsStart);
        std::printf("%-34s %9.0f KB %9.0f KB %8.2f\n", "idle working set", programIdle.workingSetKb,
                    floorIdle.workingSetKb, programIdle.workingSetKb / floorIdle.workingSetKb);
        std::printf("%-34s %9.1f ms %9.1f ms\n", "processor time idle for 10 s", programIdle.processorMs,
                    floorIdle.processorMs);
        const auto wakeUps = [](const Idle& idle) {
            return idle.wakeUps ? std::to_string(*idle.wakeUps) : std::string("n/a");
        };
        std::printf("%-34s %12s %12s\n", "thread wake-ups idle for 10 s", wakeUps(programIdle).c_str(),
                    wakeUps(floorIdle).c_str());
        const bool startOk = programStart < 1.5 * floorStart;
        // Processor time is counted in 10 ms steps and may show one step a start-up left
        // behind; the context switches tell whether the program ran at all.
        const bool idleOk = programIdle.wakeUps ? *programIdle.wakeUps == 0 : programIdle.processorMs == 0.0;
        std::printf("start-up under 1.5x the floor: %s\n", startOk ? "yes" : "NO");
        std::printf("nothing wakes the program idle in the tray: %s\n", idleOk ? "yes" : "NO");
        return startOk && idleOk ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "startup_bench: %s\n", failure.what());
        return 2;
    }
}
