#pragma once
#include "settings/ProgramLocation.h"

#include <string>
#include <vector>

// What this start of the program was asked for, read once from its command line and handed
// to whatever decides by it.
struct StartRequest {
    // "/MIN" first, in any letter case: the window stays in the tray, and a second start
    // that finds the program running ends without asking it to show itself.
    bool minimised = false;

    static StartRequest FromArguments(const std::vector<std::string>& arguments)
    {
        return StartRequest{settings::StartsMinimised(arguments)};
    }
};
