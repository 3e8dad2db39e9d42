#include "base/SystemError.h"

namespace base {

std::string SystemErrorText(DWORD code)
{
    char* text = nullptr;
    const DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    if (length == 0 || text == nullptr)
        return "System error " + std::to_string(code);
    std::string result(text, length);
    LocalFree(text); // nothing to do if this fails: the buffer is lost either way
    while (!result.empty() && (result.back() == '\n' || result.back() == '\r'))
        result.pop_back();
    return result;
}

} // namespace base
