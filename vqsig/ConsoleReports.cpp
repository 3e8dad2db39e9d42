#include "vqsig/ConsoleReports.h"

#include "vqsig/StandardStreams.h"

namespace vqsig {

void ConsoleReports::ReportError(const std::string&, const std::string&, const std::string& dialogText)
{
    errorReported_ = true;
    WriteStandardError(dialogText + "\r\n");
}

void ConsoleReports::ReportFileError(const std::string& path, const std::string& balloonTitle,
                                     const std::string& balloonText, const std::string& dialogText)
{
    ReportError(balloonTitle, balloonText, path + ": " + dialogText);
}

void ConsoleReports::Notice(const std::string&, const std::string&)
{
    // A notice is a balloon; output of its own would spoil a signature printed with --stdout.
}

bool ConsoleReports::Ask(const std::string&)
{
    return false; // no command here asks; a script could not answer anyway
}

} // namespace vqsig
