// Before the first test: icons of programs that ended just before this run (an earlier
// test executable's) leave Wine's tray a moment after their windows are gone. Tests count
// the tray's icons, so they start once those have left.
#include "tests/e2e/Desktop.h"
#include "tests/e2e/EventWait.h"

#include <gtest/gtest.h>

namespace {

class QuietTray : public ::testing::Environment {
public:
    void SetUp() override
    {
        constexpr DWORD LimitMs = 5000;
        constexpr DWORD RecheckMs = 50;
        // Icons that stay belong to programs still running; the tests count from them.
        e2e::EventWait().UntilRechecking([] { return e2e::TrayIconCount() == 0; }, LimitMs, RecheckMs);
    }
};

const auto* const quietTray = ::testing::AddGlobalTestEnvironment(new QuietTray);

} // namespace
