#pragma once
#include <stdexcept>
#include <string>

// Codes of the file layer itself, next to the Windows error numbers an I/O failure may carry.
namespace IoCode {
constexpr int FileNotFound = 2;
constexpr int InvalidFilename = 3;
constexpr int AccessDenied = 5;
constexpr int ShortRead = 100;    // a read came back with fewer bytes than asked for
constexpr int ShortWrite = 101;   // a write came back with fewer bytes than given
constexpr int NotOpen = 103;      // an operation on a file that is not open
constexpr int NegativeSeek = 131; // a seek before the start of the file
} // namespace IoCode

// A failed file operation. The message is chosen by the code, so the user sees the same
// words for the same cause wherever it happened.
class IoFailure : public std::runtime_error {
public:
    explicit IoFailure(int code);

    int Code() const noexcept { return code_; }

    // "File not found", "Invalid filename", ... or "I/O error <code>".
    static std::string MessageFor(int code);

private:
    int code_;
};

// The failure of the Win32 call that just returned failure, carrying GetLastError().
IoFailure LastWindowsFailure();
