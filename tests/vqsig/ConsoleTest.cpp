// vqsig in a real console: text shows in the console's own characters, not as raw ANSI bytes
// read in the console's code page.
#include "base/Handles.h"
#include "tests/common/StartProcess.h"
#include "tests/common/TestDirectory.h"
#include "tests/vqsig/ConsoleRun.h"
#include "tests/vqsig/Databases.h"

#include <gtest/gtest.h>

TEST(VqsigConsoleTest, AnsiTextShowsAsTheSameCharactersInAConsole)
{
    TestDirectory folder;
    folder.Write("cafe.sigs", vqsig_test::Database({"Caf\xE9 \x80" "5"}));
    // A console of the test's own, handed to vqsig as its output.
    FreeConsole();
    ASSERT_TRUE(AllocConsole());
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    const base::FileHandle console(CreateFileA("CONOUT$", GENERIC_READ | GENERIC_WRITE,
                                               FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(console);

    std::string commandLine = vqsig_test::BuiltProgram();
    commandLine += " pick --no-delimiter --stdout " + folder.Path() + "cafe.sigs";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = console.Get();
    PROCESS_INFORMATION started{};
    ASSERT_TRUE(StartProcess(commandLine, startup, started, TRUE));
    const base::KernelHandle process(started.hProcess);
    const base::KernelHandle thread(started.hThread);
    ASSERT_EQ(WAIT_OBJECT_0, WaitForSingleObject(process.Get(), 60000));
    DWORD exitCode = 1;
    EXPECT_TRUE(GetExitCodeProcess(process.Get(), &exitCode) && exitCode == 0);

    wchar_t shown[8] = {};
    DWORD read = 0;
    EXPECT_TRUE(ReadConsoleOutputCharacterW(console.Get(), shown, 8, COORD{0, 0}, &read));
    EXPECT_EQ(std::wstring(L"Caf\u00E9 \u20AC5 "), std::wstring(shown, read));
    FreeConsole();
}
