#pragma once
#include "toolkit/Handles.h"

#include <windows.h>

// One running program per user session. The first start claims a named object of the
// session for its whole run; a later start finds it claimed, asks the running program to show
// its window (unless it was started hidden) and ends without touching any setting or file.
class InstanceClaim {
public:
    InstanceClaim();
    InstanceClaim(const InstanceClaim&) = delete;
    InstanceClaim& operator=(const InstanceClaim&) = delete;

    // False when another start of the program in this session holds the claim.
    bool First() const noexcept { return first_; }

private:
    base::KernelHandle mutex_;
    bool first_ = true;
};

// The message a second start posts to the running program's application window: show the
// main window as the tray menu's "Restore" does.
UINT ShowRunningProgramMessage();

// Posts that message to the running program, letting it take the foreground from this start.
void AskRunningProgramToShowItself();
