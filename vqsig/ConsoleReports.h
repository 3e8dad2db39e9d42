#pragma once
#include "engine/ReportSink.h"

namespace vqsig {

// Reports in a console: an error prints the text the program's error dialog would show on
// standard error, and is remembered for the exit code. Nothing is ever asked.
class ConsoleReports final : public ReportSink {
public:
    void ReportError(const std::string& balloonTitle, const std::string& balloonText,
                     const std::string& dialogText) override;
    // As ReportError, with the file named first: "<path>: <dialog text>".
    void ReportFileError(const std::string& path, const std::string& balloonTitle, const std::string& balloonText,
                         const std::string& dialogText) override;
    void Notice(const std::string& title, const std::string& text) override;
    bool Ask(const std::string& question) override;

    bool ErrorReported() const noexcept { return errorReported_; }

private:
    bool errorReported_ = false;
};

} // namespace vqsig
