#pragma once
#include <windows.h>

#include <string>

namespace base {

// The system's own text for a Windows error number, without the trailing line break,
// as every user-facing message that carries a system reason shows it.
std::string SystemErrorText(DWORD code);

} // namespace base
