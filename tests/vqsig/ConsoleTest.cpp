// vqsig in a real console: text shows in the console's own characters, not as raw ANSI bytes
// read in the console's code page.
#include "tests/settings/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

namespace {

// A console of the test's own, given to vqsig as its standard handles.
class OwnConsole {
public:
    OwnConsole()
    {
        FreeConsole(); // none, or the one the test was started in
        attached_ = AllocConsole();
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        output_.Reset(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                  &inherit, OPEN_EXISTING, 0, nullptr));
    }
    ~OwnConsole()
    {
        output_.Reset();
        if (attached_)
            FreeConsole();
    }
    bool Ready() const { return attached_ && output_; }
    HANDLE Output() const { return output_.Get(); }

    std::wstring FirstLine() const
    {
        wchar_t line[80] = {};
        DWORD read = 0;
        EXPECT_TRUE(ReadConsoleOutputCharacterW(output_.Get(), line, 80, COORD{0, 0}, &read));
        std::wstring text(line, read);
        return text.substr(0, text.find_last_not_of(L' ') + 1);
    }

private:
    BOOL attached_ = FALSE;
    toolkit::FileHandle output_;
};

} // namespace

TEST(VqsigConsoleTest, AnsiTextShowsAsTheSameCharactersInAConsole)
{
    TestDirectory folder;
    folder.Write("cafe.sigs", vqsig_test::Database({"Caf\xE9 \x80" "5"}));
    OwnConsole console;
    ASSERT_TRUE(console.Ready());

    std::string commandLine = vqsig_test::BuiltProgram();
    commandLine += " pick --no-delimiter --stdout " + folder.Path() + "cafe.sigs";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = console.Output();
    startup.hStdError = console.Output();
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                               &started));
    const toolkit::KernelHandle process(started.hProcess);
    const toolkit::KernelHandle thread(started.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 60000));
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(process.Get(), &exitCode));
    EXPECT_EQ(0u, exitCode);
    EXPECT_EQ(L"Caf\u00E9 \u20AC5", console.FirstLine());
}
