#pragma once
#include "tests/common/TestFiles.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// A fresh directory in the temporary directory, emptied and removed at the end of the test.
// A test with more than one tells them apart by a name of their own.
class TestDirectory {
public:
    explicit TestDirectory(const std::string& name = "")
    {
        char temp[MAX_PATH + 1] = {};
        EXPECT_NE(0u, GetTempPathA(sizeof temp, temp));
        path_ = std::string(temp) + "vq-test-" + std::to_string(GetCurrentProcessId()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name() + name;
        std::replace(path_.begin() + std::string(temp).size(), path_.end(), '/', '-');
        path_ += "\\";
        EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
    }
    ~TestDirectory() { RemoveWithFiles(path_); }

    // Ends in a backslash, as the program's directory does.
    const std::string& Path() const { return path_; }

    std::vector<std::string> Names() const // sorted
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            if (std::string(found.cFileName) != "." && std::string(found.cFileName) != "..")
                names.push_back(found.cFileName);
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    void Write(const std::string& name, const std::string& bytes) const { WriteBytes(path_ + name, bytes); }
    std::string Read(const std::string& name) const { return ReadBytes(path_ + name); }

private:
    // Best effort: a leftover in %TEMP% harms nobody.
    static void RemoveWithFiles(const std::string& folder)
    {
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
        for (bool more = search != INVALID_HANDLE_VALUE; more; more = FindNextFileA(search, &found)) {
            const std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
                RemoveWithFiles(folder + name + "\\");
            else
                DeleteFileA((folder + name).c_str());
        }
        if (search != INVALID_HANDLE_VALUE)
            FindClose(search);
        RemoveDirectoryA(folder.c_str());
    }

    std::string path_;
};
