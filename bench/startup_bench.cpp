// Start-up benchmark: Varnquill against same_controls, a program that makes the same
// standard controls with plain CreateWindowEx and nothing else (the floor), and, for
// reference, user32_controls, the same program without Varnquill's manifest (so user32's
// older, unthemed controls), and empty_window, the least a window program does; all started
// in turn in one run.
//
//   start-up      from CreateProcess until the program first waits for input, which it
//                 does only after its main window's first paint (median of the runs).
//                 Target: at most 1.2x same_controls.
//   working set   after each has sat idle with its window shown. Target: at most 1.2x
//                 same_controls.
//   wake-ups      started with /MIN and left alone in the tray: how often its threads run,
//                 counted by the kernel as context switches of the process's threads, read
//                 from /proc (drive Z: under Wine); a timer or a thread that wakes the
//                 process shows there. Target: none.
//
// same_controls carries Varnquill's manifest, so its controls are the ones Varnquill makes:
// Common Controls 6, themed, in a per-monitor DPI aware process. Without it they would be
// user32's, which cost less to make and draw; that ratio is printed for reference.
//
// The program runs from a fresh folder of its own with its registry key removed, so the
// auto-change timer is off and no side file is read.
#include "base/Handles.h"
#include "base/SystemError.h"
#include "bench/Measure.h"
#include "bench/WorkFolder.h"

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
constexpr DWORD SettleBetweenStartsMs = 300;
constexpr DWORD IdleWatchMs = 10000;

struct Started {
    base::KernelHandle process;
    DWORD threadId = 0;
    double readyMs = 0;
};

Started Start(const std::string& program, const std::string& arguments)
{
    std::string commandLine = "\"" + program + "\"";
    if (!arguments.empty())
        commandLine += " " + arguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    Started started;
    // Wine now and then refuses a start once on a loaded machine; the next try, timed afresh,
    // measures the program as well as any other.
    bench::Clock::time_point before = bench::Clock::now();
    for (int attempt = 0; !CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                                          &startup, &info); ++attempt) {
        if (attempt == 2)
            throw std::runtime_error("cannot start " + program + ": " + base::SystemErrorText(GetLastError()));
        Sleep(500);
        before = bench::Clock::now();
    }
    started.process.Reset(info.hProcess);
    started.threadId = info.dwThreadId;
    const base::KernelHandle thread(info.hThread);
    if (WaitForInputIdle(info.hProcess, ReadyTimeoutMs) != 0)
        throw std::runtime_error(program + " did not get ready");
    started.readyMs = bench::Milliseconds(bench::Clock::now() - before);
    return started;
}

// Ends the program as its user would, by the message given to each of its windows, so
// that it takes its tray icon along: a killed program's icon stays in Wine's tray until the
// tray next looks. Killed only when it has not ended in time; its exit code does not
// matter.
void End(Started& started, UINT message)
{
    struct Request {
        UINT message;
    } request{message};
    EnumThreadWindows(
        started.threadId,
        [](HWND window, LPARAM lParam) {
            // A window gone meanwhile needs no asking.
            PostMessageA(window, reinterpret_cast<Request*>(lParam)->message, 0, 0);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&request));
    if (WaitForSingleObject(started.process.Get(), ReadyTimeoutMs) != WAIT_OBJECT_0) {
        TerminateProcess(started.process.Get(), 0);
        WaitForSingleObject(started.process.Get(), ReadyTimeoutMs);
    }
}

// How each program is asked to end: Varnquill by the request its setup program sends (a
// close only hides it in the tray), the others by closing their window.
UINT EndMessageFor(const std::string& program)
{
    static const UINT varnquillExit = RegisterWindowMessageA("Varnquill.Exit");
    const bool varnquill = program.size() >= 13 && program.compare(program.size() - 13, 13, "Varnquill.exe") == 0;
    return varnquill && varnquillExit ? varnquillExit : WM_CLOSE;
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

std::string ReadProcFile(const std::string& path)
{
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
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
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &entry);
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

// The kernel's count of context switches of every thread of the Linux process that runs
// the program whose command line contains marker; nothing when there is no /proc to read
// (not under Wine) or no such process.
std::optional<long long> ContextSwitches(const std::string& marker)
{
    const std::string proc = "Z:\\proc";
    for (const std::string& pid : Entries(proc)) {
        if (pid.find_first_not_of("0123456789") != std::string::npos)
            continue;
        std::string commandLine = ReadProcFile(proc + "\\" + pid + "\\cmdline");
        std::replace(commandLine.begin(), commandLine.end(), '\0', ' ');
        if (commandLine.find(marker) == std::string::npos)
            continue;
        long long switches = 0;
        for (const std::string& task : Entries(proc + "\\" + pid + "\\task")) {
            const std::string status = ReadProcFile(proc + "\\" + pid + "\\task\\" + task + "\\status");
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
    End(started, EndMessageFor(program));
    return idle;
}

std::string CopyInto(const bench::WorkFolder& folder, const std::string& program)
{
    const std::string copy = folder.File("Varnquill.exe");
    if (!CopyFileA(program.c_str(), copy.c_str(), FALSE))
        throw std::runtime_error("cannot copy " + program);
    return copy;
}

void RemoveSettings()
{
    // Missing already is as good as removed.
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\qmz\\Varnquill");
}

bool Run(const bench::WorkFolder& folder)
{
    RemoveSettings();
    const std::string varnquill = CopyInto(folder, VARNQUILL_EXE);
    const std::string floor = SAME_CONTROLS_EXE;
    const std::string user32 = USER32_CONTROLS_EXE;
    const std::string empty = EMPTY_WINDOW_EXE;

    std::vector<double> programMs, floorMs, user32Ms, emptyMs;
    for (int run = 0; run < Runs; ++run) {
        // In turn, so all meet the same state of the machine.
        for (auto [program, times] : {std::pair{&floor, &floorMs}, {&varnquill, &programMs}, {&user32, &user32Ms},
                                      {&empty, &emptyMs}}) {
            Started started = Start(*program, "");
            times->push_back(started.readyMs);
            End(started, EndMessageFor(*program));
            // The shell's clean-up after an ended program (its tray icon) must not fall
            // on the next start.
            Sleep(SettleBetweenStartsMs);
        }
    }
    const Idle programIdle = MeasureIdle(varnquill, "", folder.Name());
    const Idle floorIdle = MeasureIdle(floor, "", "same_controls");
    const Idle trayIdle = MeasureIdle(varnquill, "/MIN", folder.Name());
    RemoveSettings();

    std::printf("%d starts each, same_controls, Varnquill, user32_controls and empty_window taking turns\n", Runs);
    bool met = bench::PrintAgainstFloor("start-up to first idle", bench::Median(programMs), bench::Median(floorMs), 1.2);
    met = bench::PrintAgainstFloor("idle working set", programIdle.workingSetKb, floorIdle.workingSetKb, 1.2, "KB") &&
          met;
    std::printf("for reference: user32_controls starts in %.3f ms (Varnquill %.2fx), empty_window in %.3f ms "
                "(Varnquill %.2fx); Varnquill in the tray holds %.0f KB\n",
                bench::Median(user32Ms), bench::Median(programMs) / bench::Median(user32Ms), bench::Median(emptyMs),
                bench::Median(programMs) / bench::Median(emptyMs), trayIdle.workingSetKb);
    // Processor time is counted in 10 ms steps and may show one step a start-up left
    // behind; the context switches tell whether the program ran at all.
    const bool quiet = trayIdle.wakeUps ? *trayIdle.wakeUps == 0 : trayIdle.processorMs == 0.0;
    std::printf("%-30s %10s  processor time %.1f ms in %lu s  target none: %s\n", "idle wake-ups in the tray",
                trayIdle.wakeUps ? std::to_string(*trayIdle.wakeUps).c_str() : "n/a", trayIdle.processorMs,
                IdleWatchMs / 1000, quiet ? "met" : "NOT MET");
    return met && quiet;
}

} // namespace

int main()
{
    try {
        const bench::WorkFolder folder;
        return Run(folder) ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "startup_bench: %s\n", failure.what());
        return 2;
    }
}
