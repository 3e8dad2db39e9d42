#pragma once
#include <windows.h>

#include <string>

// The media session's class key, under HKEY_LOCAL_MACHINE, which Wine reads to find the DLL
// that makes the class (FakeMediaSession.dll beside the test executables stands in).
inline constexpr char FakeMediaSessionKey[] =
    "Software\\Microsoft\\WindowsRuntime\\ActivatableClassId\\"
    "Windows.Media.Control.GlobalSystemMediaTransportControlsSessionManager";

// The stand-in media session registered for as long as the object lives, answering as told:
// "playing", "paused", "no session" or "never completes" (see FakeMediaSessionDll.cpp).
// The key is removed at the end, so every other test meets the system's own, which Wine
// does not have.
class FakeMediaSessionRegistration {
public:
    FakeMediaSessionRegistration(const std::string& answer, const std::string& appId, const std::string& artist,
                                 const std::string& title);
    ~FakeMediaSessionRegistration();
    FakeMediaSessionRegistration(const FakeMediaSessionRegistration&) = delete;
    FakeMediaSessionRegistration& operator=(const FakeMediaSessionRegistration&) = delete;

    // Takes effect at the stand-in's next call.
    void Answer(const std::string& answer);

    static bool Registered();
};
