#include "ui/ExitRequest.h"

bool IsExitRequest(UINT message) noexcept
{
    // Registered once per process; the number is the same for every process of the session.
    static const UINT exitRequest = RegisterWindowMessageA(ExitRequestName);
    return exitRequest != 0 && message == exitRequest;
}
