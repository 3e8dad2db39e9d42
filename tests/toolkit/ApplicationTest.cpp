#include "toolkit/Application.h"

#include <gtest/gtest.h>

using toolkit::Application;

TEST(LastResortText, AppendsFullStopOnlyAfterCharactersSortingAfterIt)
{
    struct Case { const char* message; const char* shown; };
    const Case cases[] = {
        {"Disk full", "Disk full."},
        {"I/O error 32", "I/O error 32."},
        {"Really?", "Really?."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},
        {"(see above)", "(see above)"},
        {"trailing blank ", "trailing blank "},
        {"", ""},
        {"Gr\xfc\xdf", "Gr\xfc\xdf."}, // bytes above 127 sort after '.'
    };
    for (const Case& c : cases)
        EXPECT_EQ(Application::LastResortText(c.message), c.shown) << c.message;
}
