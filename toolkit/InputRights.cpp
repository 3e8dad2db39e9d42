#include "toolkit/InputRights.h"

#include "base/Handles.h"

#include <optional>
#include <vector>

namespace toolkit {

namespace {

// The token's mandatory integrity level (its label's last sub-authority), or nothing.
std::optional<DWORD> IntegrityLevel(HANDLE token)
{
    DWORD size = 0;
    GetTokenInformation(token, TokenIntegrityLevel, nullptr, 0, &size); // fails, telling the size
    if (size == 0)
        return std::nullopt;
    std::vector<BYTE> buffer(size);
    if (!GetTokenInformation(token, TokenIntegrityLevel, buffer.data(), size, &size))
        return std::nullopt;
    const PSID sid = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data())->Label.Sid;
    const UCHAR count = *GetSidSubAuthorityCount(sid);
    if (count == 0)
        return std::nullopt;
    return *GetSidSubAuthority(sid, count - 1u);
}

std::optional<DWORD> ProcessLevel(HANDLE process)
{
    HANDLE token = nullptr;
    if (!OpenProcessToken(process, TOKEN_QUERY, &token))
        return std::nullopt;
    const base::KernelHandle owned(token);
    return IntegrityLevel(token);
}

} // namespace

bool TakesOurInput(HWND window)
{
    DWORD processId = 0;
    if (!window || !GetWindowThreadProcessId(window, &processId))
        return true; // no window: the input goes where the system puts it, refused by none
    if (processId == GetCurrentProcessId())
        return true;
    const std::optional<DWORD> own = ProcessLevel(GetCurrentProcess());
    if (!own)
        return true; // nothing to compare with: the send itself will tell
    const base::KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process)
        return GetLastError() != ERROR_ACCESS_DENIED;
    const std::optional<DWORD> theirs = ProcessLevel(process.Get());
    return theirs ? *theirs <= *own : false;
}

} // namespace toolkit
