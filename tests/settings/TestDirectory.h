#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

// A fresh directory under the temporary directory, with its files removed at the end.
class TestDirectory {
public:
    TestDirectory()
    {
        char temp[MAX_PATH + 1] = {};
        EXPECT_NE(0u, GetTempPathA(sizeof temp, temp));
        const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::string(temp) + "vq-settings-" + std::to_string(GetCurrentProcessId()) + "-" + test->name();
        for (std::size_t i = std::string(temp).size(); i < path_.size(); ++i) {
            if (path_[i] == '/')
                path_[i] = '-';
        }
        path_ += "\\";
        EXPECT_TRUE(CreateDirectoryA(path_.c_str(), nullptr)) << path_;
    }
    ~TestDirectory()
    {
        for (const std::string& name : Names())
            DeleteFileA((path_ + name).c_str()); // best effort: a leftover in %TEMP% harms nobody
        RemoveDirectoryA(path_.c_str());
    }
    TestDirectory(const TestDirectory&) = delete;
    TestDirectory& operator=(const TestDirectory&) = delete;

    // Ends in a backslash, as the program's directory does.
    const std::string& Path() const { return path_; }

    // The names of the files in it, sorted.
    std::vector<std::string> Names() const
    {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found{};
        const HANDLE search = FindFirstFileA((path_ + "*").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            return names;
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                names.push_back(name);
        } while (FindNextFileA(search, &found));
        FindClose(search);
        std::sort(names.begin(), names.end());
        return names;
    }

    void Write(const std::string& name, const std::string& bytes) const
    {
        const HANDLE file = CreateFileA((path_ + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        DWORD written = 0;
        EXPECT_TRUE(WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
        EXPECT_EQ(bytes.size(), written);
        CloseHandle(file);
    }

    std::string Read(const std::string& name) const
    {
        const HANDLE file = CreateFileA((path_ + name).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_NE(INVALID_HANDLE_VALUE, file) << name;
        if (file == INVALID_HANDLE_VALUE)
            return {};
        std::string bytes;
        char buffer[65536];
        DWORD read = 0;
        while (ReadFile(file, buffer, sizeof buffer, &read, nullptr) && read > 0)
            bytes.append(buffer, read);
        CloseHandle(file);
        return bytes;
    }

private:
    std::string path_;
};
