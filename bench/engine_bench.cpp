// Times the engine's two costly operations on a database of 100,000 records and sets each
// against its floor, the least the same file work costs on this machine in the same run:
//   random change   against opening the database, one 513-byte read, closing it, and
//                   writing the same signature file with one write;
//   delete record 0 against copying the same tail bytes with one read and one write.
// Targets: random change under 3x its floor, delete under 2x.
//   usage: engine_bench [runs]
#include "engine/ReportSink.h"
#include "engine/SignatureDatabase.h"
#include "engine/SignatureWriter.h"
#include "engine/WriterSettings.h"
#include "base/Handles.h"
#include "bench/Measure.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <random>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int DatabaseRecords = 100000;
using bench::Clock;
using bench::Median;
using bench::Milliseconds;

class BenchSettings : public WriterSettings {
public:
    BenchSettings(std::string path, std::string database) : path_(std::move(path)), database_(std::move(database)) {}
    std::string SignatureFilePath() const override { return path_; }
    bool DelimiterOn() const override { return true; }
    bool StaticTextOn() const override { return true; }
    bool StaticTextAbove() const override { return false; }
    std::string StaticText() const override { return "Sent from the signature bench\r\nsecond static line"; }
    bool ChangeBalloonOn() const override { return true; }
    std::vector<std::string> DatabaseList() const override { return {database_}; }
    std::vector<std::string> ProtectedFiles() const override { return {database_}; }

private:
    std::string path_, database_;
};

// Counts notices; an error means the measured change did not happen.
class CountingSink : public ReportSink {
public:
    void ReportError(const std::string&, const std::string& text, const std::string&) override
    {
        throw std::runtime_error("random change reported: " + text);
    }
    void Notice(const std::string&, const std::string&) override { ++notices; }
    bool Ask(const std::string&) override { return false; }
    int notices = 0;
};

void Check(bool ok, const char* what)
{
    if (!ok)
        throw std::runtime_error(std::string(what) + " failed, error " + std::to_string(GetLastError()));
}

base::FileHandle Open(const std::string& path, DWORD access, DWORD share, DWORD disposition)
{
    base::FileHandle file(
        CreateFileA(path.c_str(), access, share, nullptr, disposition, FILE_ATTRIBUTE_NORMAL, nullptr));
    Check(static_cast<bool>(file), "CreateFileA");
    return file;
}

void SeekTo(HANDLE file, std::int64_t offset)
{
    LARGE_INTEGER to;
    to.QuadPart = offset;
    Check(SetFilePointerEx(file, to, nullptr, FILE_BEGIN), "SetFilePointerEx");
}

void ReadExactly(HANDLE file, char* into, DWORD size)
{
    DWORD got = 0;
    Check(ReadFile(file, into, size, &got, nullptr) && got == size, "ReadFile");
}

void WriteExactly(HANDLE file, const char* from, DWORD size)
{
    DWORD written = 0;
    Check(WriteFile(file, from, size, &written, nullptr) && written == size, "WriteFile");
}

std::string MakeTempDir()
{
    char base[MAX_PATH + 1];
    const DWORD length = GetTempPathA(sizeof base, base);
    Check(length > 0 && length <= MAX_PATH, "GetTempPathA");
    const std::string dir = std::string(base) + "varnquill-bench-" + std::to_string(GetCurrentProcessId());
    Check(CreateDirectoryA(dir.c_str(), nullptr), "CreateDirectoryA");
    return dir;
}

// Signatures of realistic length, each with its own text, and remnants after the NUL.
std::string DatabaseBytes()
{
    std::string bytes(static_cast<std::size_t>(DatabaseRecords) * SignatureRecordSize, 'r');
    for (int k = 0; k < DatabaseRecords; ++k) {
        std::string text = "Signature number " + std::to_string(k) + "\r\n";
        while (text.size() < 40 + static_cast<std::size_t>(k % 300))
            text += "The quick brown fox jumps over the lazy dog. ";
        text.resize(std::min(text.size(), std::size_t{400}));
        const std::size_t at = static_cast<std::size_t>(k) * SignatureRecordSize;
        bytes[at] = static_cast<char>(k);
        bytes.replace(at + 1, text.size(), text);
        bytes[at + 1 + text.size()] = '\0';
    }
    return bytes;
}

template <typename F>
double Time(F&& work)
{
    const auto start = Clock::now();
    work();
    return Milliseconds(Clock::now() - start);
}

void Print(const char* what, const std::vector<double>& measured, const std::vector<double>& floor, double target)
{
    const double m = Median(measured), f = Median(floor), ratio = m / f;
    std::printf("%-16s median %9.3f ms  floor %9.3f ms  ratio %5.2fx  (target < %.0fx: %s)\n", what, m, f, ratio,
                target, ratio < target ? "met" : "MISSED");
}

void RemoveDir(const std::string& dir, const std::vector<std::string>& files)
{
    for (const auto& file : files)
        DeleteFileA((dir + "\\" + file).c_str()); // a leftover only costs temporary space
    RemoveDirectoryA(dir.c_str());             // as above
}

void Run(const std::string& dir, int runs)
{
    const std::string templatePath = dir + "\\template.sigs";
    const std::string workPath = dir + "\\work.sigs";
    const std::string signaturePath = dir + "\\signature.txt";
    const std::string floorSignaturePath = dir + "\\floor.txt";
    const std::string templateBytes = DatabaseBytes();
    {
        const base::FileHandle file = Open(templatePath, GENERIC_WRITE, 0, CREATE_ALWAYS);
        WriteExactly(file.Get(), templateBytes.data(), static_cast<DWORD>(templateBytes.size()));
    }
    std::printf("database: %d records, %zu bytes; %d runs each, floor and operation taking turns\n",
                DatabaseRecords, templateBytes.size(), runs);

    // Random change.
    BenchSettings settings(signaturePath, templatePath);
    CountingSink sink;
    SignatureDatabase database;
    SignatureWriter writer(database, settings, sink);
    std::mt19937 picks(12345);
    std::uniform_int_distribution<int> anyRecord(0, DatabaseRecords - 1);
    std::vector<double> changes, changeFloors;
    for (int run = 0; run < runs; ++run) {
        const int k = anyRecord(picks);
        const std::size_t at = static_cast<std::size_t>(k) * SignatureRecordSize;
        const std::string text = templateBytes.substr(at + 1, templateBytes.find('\0', at + 1) - at - 1);
        const std::string composed = "-- \r\n" + text + "\r\n" + settings.StaticText();
        char record[SignatureRecordSize];
        changeFloors.push_back(Time([&] {
            {
                const base::FileHandle db = Open(templatePath, GENERIC_READ | GENERIC_WRITE,
                                                 FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
                SeekTo(db.Get(), static_cast<std::int64_t>(at));
                ReadExactly(db.Get(), record, SignatureRecordSize);
            }
            const base::FileHandle out = Open(floorSignaturePath, GENERIC_WRITE, FILE_SHARE_READ, CREATE_ALWAYS);
            WriteExactly(out.Get(), composed.data(), static_cast<DWORD>(composed.size()));
        }));
        changes.push_back(Time([&] { writer.RandomChange(); }));
    }
    if (sink.notices != runs)
        throw std::runtime_error("a random change did not write");

    // Delete record 0: both start from a fresh copy of the database, already open.
    const DWORD tailBytes = static_cast<DWORD>((DatabaseRecords - 1) * SignatureRecordSize);
    std::vector<char> tail(tailBytes);
    std::vector<double> deletes, deleteFloors;
    for (int run = 0; run < runs; ++run) {
        Check(CopyFileA(templatePath.c_str(), workPath.c_str(), FALSE), "CopyFileA");
        {
            const base::FileHandle db = Open(workPath, GENERIC_READ | GENERIC_WRITE,
                                             FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING);
            deleteFloors.push_back(Time([&] {
                SeekTo(db.Get(), SignatureRecordSize);
                ReadExactly(db.Get(), tail.data(), tailBytes);
                SeekTo(db.Get(), 0);
                WriteExactly(db.Get(), tail.data(), tailBytes);
            }));
        }
        Check(CopyFileA(templatePath.c_str(), workPath.c_str(), FALSE), "CopyFileA");
        database.File().OpenExisting(workPath);
        database.File().Seek(0);
        deletes.push_back(Time([&] { database.DeleteCurrent(); }));
        if (database.File().Count() != DatabaseRecords - 1)
            throw std::runtime_error("delete left the wrong count");
        database.File().Close();
    }

    Print("random change", changes, changeFloors, 3);
    Print("delete record 0", deletes, deleteFloors, 2);
}

} // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 31;
    std::string dir;
    try {
        dir = MakeTempDir();
        Run(dir, runs);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "engine_bench: %s\n", failure.what());
        if (!dir.empty())
            RemoveDir(dir, {"template.sigs", "work.sigs", "signature.txt", "floor.txt"});
        return 1;
    }
    RemoveDir(dir, {"template.sigs", "work.sigs", "signature.txt", "floor.txt"});
    return 0;
}
