// Times vqsig's import of the whole fortunes collection into a fresh database and sets it
// against its floor, the least the same result costs on this machine in the same run:
// writing the same number of 513-byte records to a fresh file with one write.
// Target: under 2x. It also shows the least that reading the fortune files costs (open, one
// read, close each), which the floor leaves out: under Wine each open is a few round trips
// to the Wine server, slow when the machine is busy.
//   usage: import_bench [folder of fortune files] [runs]
#include "base/Handles.h"
#include "bench/Measure.h"
#include "vqsig/FortuneImport.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Clock;
using bench::Median;
using bench::Milliseconds;

bool EndsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The fortune files: not strfile's indexes (.dat), nor the .u8 names of the same files.
std::vector<std::string> FortuneFiles(const std::string& folder)
{
    std::vector<std::string> files;
    WIN32_FIND_DATAA found;
    const HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        throw std::runtime_error("no files in " + folder);
    do {
        const std::string name = found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && !EndsWith(name, ".dat") && !EndsWith(name, ".u8"))
            files.push_back(folder + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
}

std::string TemporaryPath(const char* name)
{
    char folder[MAX_PATH + 1] = {};
    if (!GetTempPathA(sizeof folder, folder))
        throw std::runtime_error("no temporary folder");
    return std::string(folder) + name;
}

double TimeImport(const std::string& database, const std::vector<std::string>& files, std::size_t& records)
{
    DeleteFileA(database.c_str()); // a fresh database each run; missing the first time
    const Clock::time_point start = Clock::now();
    records = 0;
    for (const vqsig::FortuneFileImport& file : vqsig::ImportFortuneFiles(database, files))
        records += file.imported;
    return Milliseconds(Clock::now() - start);
}

double TimeFloor(const std::string& path, const std::vector<char>& records)
{
    DeleteFileA(path.c_str());
    const Clock::time_point start = Clock::now();
    {
        const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        DWORD written = 0;
        if (!file || !WriteFile(file.Get(), records.data(), static_cast<DWORD>(records.size()), &written, nullptr) ||
            written != records.size())
            throw std::runtime_error("floor write failed, error " + std::to_string(GetLastError()));
    }
    return Milliseconds(Clock::now() - start);
}

double TimeReading(const std::vector<std::string>& files)
{
    const Clock::time_point start = Clock::now();
    std::string bytes;
    for (const std::string& path : files) {
        const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                FILE_ATTRIBUTE_NORMAL, nullptr));
        LARGE_INTEGER size{};
        DWORD read = 0;
        if (!file || !GetFileSizeEx(file.Get(), &size))
            throw std::runtime_error("cannot open " + path);
        bytes.resize(static_cast<std::size_t>(size.QuadPart));
        if (!ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
            throw std::runtime_error("cannot read " + path);
    }
    return Milliseconds(Clock::now() - start);
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string folder = argc > 1 ? argv[1] : "Z:\\usr\\share\\games\\fortunes";
        const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
        const std::vector<std::string> files = FortuneFiles(folder);
        const std::string database = TemporaryPath("import_bench.sigs");
        const std::string floorFile = TemporaryPath("import_bench.floor");

        std::size_t records = 0;
        TimeImport(database, files, records); // warms the file cache for both
        const std::vector<char> floorRecords(records * 513, 'x');
        std::vector<double> imports, floors, readings;
        for (int run = 0; run < runs; ++run) {
            imports.push_back(TimeImport(database, files, records));
            floors.push_back(TimeFloor(floorFile, floorRecords));
            readings.push_back(TimeReading(files));
        }
        DeleteFileA(database.c_str());
        DeleteFileA(floorFile.c_str());

        const double measured = Median(imports), floor = Median(floors), ratio = measured / floor;
        std::printf("%zu records from %zu fortune files; %d runs each, import, floor and reading taking turns\n", records,
                    files.size(), runs);
        std::printf("import median %8.3f ms  floor %8.3f ms  ratio %5.2fx  (target < 2x: %s)\n", measured, floor, ratio,
                    ratio < 2 ? "met" : "MISSED");
        std::printf("reading the files alone (open, one read, close each): median %8.3f ms\n", Median(readings));
        return 0;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "import_bench: %s\n", failure.what());
        return 1;
    }
}
