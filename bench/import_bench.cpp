// Times vqsig's import of the whole fortunes collection into a fresh database and sets it
// against its floor, the least the same result costs on this machine in the same run:
// reading every fortune file (open, one read, close each), then writing as many 513-byte
// records to a fresh file with one write. Target: at most 1.3x.
//   usage: import_bench [folder of fortune files] [runs]
#include "base/Handles.h"
#include "bench/Measure.h"
#include "bench/WorkFolder.h"
#include "engine/FortuneImport.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using bench::Median;
using bench::TimeMs;

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

double TimeImport(const std::string& database, const std::vector<std::string>& files, std::size_t& records)
{
    DeleteFileA(database.c_str()); // a fresh database each run; missing the first time
    return TimeMs([&] {
        records = 0;
        for (const fortunes::FortuneFileImport& file : fortunes::ImportFortuneFiles(database, files))
            records += file.imported;
    });
}

void ReadFiles(const std::vector<std::string>& files)
{
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
}

void WriteRecords(const std::string& path, const std::vector<char>& records)
{
    const base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                            FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                                            FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!file || !WriteFile(file.Get(), records.data(), static_cast<DWORD>(records.size()), &written, nullptr) ||
        written != records.size())
        throw std::runtime_error("floor write failed, error " + std::to_string(GetLastError()));
}

} // namespace

int main(int argc, char** argv)
{
    try {
        const std::string source = argc > 1 ? argv[1] : "Z:\\usr\\share\\games\\fortunes";
        const int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 15;
        const std::vector<std::string> files = FortuneFiles(source);
        const bench::WorkFolder folder;
        const std::string database = folder.File("import.sigs");
        const std::string floorFile = folder.File("floor.sigs");

        std::size_t records = 0;
        TimeImport(database, files, records); // warms the file cache for both
        const std::vector<char> floorRecords(records * 513, 'x');
        std::vector<double> imports, floors;
        for (int run = 0; run < runs; ++run) {
            imports.push_back(TimeImport(database, files, records));
            DeleteFileA(floorFile.c_str()); // fresh like the database; missing the first time
            floors.push_back(TimeMs([&] {
                ReadFiles(files);
                WriteRecords(floorFile, floorRecords);
            }));
        }

        std::printf("%zu records from %zu fortune files; %d runs each, import and floor taking turns\n", records,
                    files.size(), runs);
        return bench::PrintAgainstFloor("import", Median(imports), Median(floors), 1.3) ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "import_bench: %s\n", failure.what());
        return 2;
    }
}
