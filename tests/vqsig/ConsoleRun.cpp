#include "tests/vqsig/ConsoleRun.h"

#include "base/Handles.h"

#include <gtest/gtest.h>

namespace vqsig_test {

namespace {

// The quoting the C runtime undoes: backslashes are literal except before a quote.
std::string Quoted(const std::string& argument)
{
    std::string quoted = "\"";
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == '"' ? backslashes * 2 + 1 : backslashes, '\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, '\\');
    return quoted + "\"";
}

std::string TemporaryFileName()
{
    char folder[MAX_PATH + 1] = {};
    char name[MAX_PATH + 1] = {};
    EXPECT_NE(0u, GetTempPathA(sizeof folder, folder));
    EXPECT_NE(0u, GetTempFileNameA(folder, "vqs", 0, name));
    return name;
}

base::FileHandle InheritedFile(const std::string& path)
{
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    base::FileHandle file(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                      &inherit, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    EXPECT_TRUE(file) << path;
    return file;
}

std::string Contents(const base::FileHandle& file)
{
    std::string bytes;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.Get(), &size) || SetFilePointer(file.Get(), 0, nullptr, FILE_BEGIN) != 0)
        return bytes;
    bytes.resize(static_cast<std::size_t>(size.QuadPart));
    DWORD read = 0;
    if (!bytes.empty() && !ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr))
        ADD_FAILURE() << "cannot read the program's output";
    bytes.resize(read);
    return bytes;
}

} // namespace

std::string BuiltProgram()
{
    return VQSIG_EXE;
}

ConsoleRun RunProgram(const std::string& program, const std::vector<std::string>& arguments, const std::string& input,
                      Output output)
{
    std::string commandLine = Quoted(program);
    for (const std::string& argument : arguments) {
        commandLine += ' ';
        commandLine += Quoted(argument);
    }

    const std::string outPath = TemporaryFileName();
    const std::string errPath = TemporaryFileName();
    ConsoleRun run;
    {
        base::FileHandle out = InheritedFile(outPath);
        const base::FileHandle err = InheritedFile(errPath);
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (output == Output::ClosedPipe) {
            HANDLE reader = nullptr;
            HANDLE writer = nullptr;
            EXPECT_TRUE(CreatePipe(&reader, &writer, &inherit, 0));
            CloseHandle(reader);
            out.Reset(writer);
        }
        HANDLE readEnd = nullptr;
        HANDLE writeEnd = nullptr;
        // Room for the whole input, so it is written before the program starts reading.
        EXPECT_TRUE(CreatePipe(&readEnd, &writeEnd, &inherit, static_cast<DWORD>(input.size() + 4096)));
        base::KernelHandle inputRead(readEnd);
        base::KernelHandle inputWrite(writeEnd);
        SetHandleInformation(inputWrite.Get(), HANDLE_FLAG_INHERIT, 0);

        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = inputRead.Get();
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION started{};
        std::wstring wideCommandLine(commandLine.size() + 1, L'\0');
        wideCommandLine.resize(static_cast<std::size_t>(MultiByteToWideChar(
            CP_UTF8, 0, commandLine.c_str(), -1, wideCommandLine.data(), static_cast<int>(wideCommandLine.size()))));
        if (!CreateProcessW(nullptr, wideCommandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &started)) {
            ADD_FAILURE() << "cannot start " << commandLine << ", error " << GetLastError();
            return run;
        }
        const base::KernelHandle process(started.hProcess);
        const base::KernelHandle thread(started.hThread);
        inputRead.Reset();
        DWORD written = 0;
        EXPECT_TRUE(input.empty() ||
                    WriteFile(inputWrite.Get(), input.data(), static_cast<DWORD>(input.size()), &written, nullptr));
        inputWrite.Reset(); // the end of the input

        if (WaitForSingleObject(process.Get(), 120000) != WAIT_OBJECT_0) {
            ADD_FAILURE() << "no end of " << commandLine;
            TerminateProcess(process.Get(), 255); // a hung run must not outlive the test
        }
        EXPECT_TRUE(GetExitCodeProcess(process.Get(), &run.exitCode));
        if (output == Output::File)
            run.out = Contents(out);
        run.err = Contents(err);
    }
    DeleteFileA(outPath.c_str()); // best effort: a leftover in %TEMP% harms nobody
    DeleteFileA(errPath.c_str());
    return run;
}

} // namespace vqsig_test
