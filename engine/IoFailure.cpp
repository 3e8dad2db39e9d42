#include "engine/IoFailure.h"

#include <windows.h>

IoFailure::IoFailure(int code) : std::runtime_error(MessageFor(code)), code_(code) {}

std::string IoFailure::MessageFor(int code)
{
    switch (code) {
    case 2: return "File not found";
    case 3: return "Invalid filename";
    case 4: return "Too many open files";
    case 5: return "File access denied";
    case 100: return "Read beyond end of file";
    case 101: return "Disk full";
    case 106: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

IoFailure LastWindowsFailure()
{
    const DWORD error = GetLastError();
    // A call that failed without saying why still has to fail; 5 is the closest honest cause.
    return IoFailure(error == ERROR_SUCCESS ? IoCode::AccessDenied : static_cast<int>(error));
}
