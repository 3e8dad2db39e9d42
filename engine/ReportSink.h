#pragma once
#include <exception>
#include <string>

// The three ways a command talks to the user. The main window implements it with balloons
// and dialogs; the engine only ever calls it.
class ReportSink {
public:
    virtual ~ReportSink() = default;

    // An error: shown as a balloon (title, text) or as a modal dialog (dialog text),
    // whichever the user chose.
    virtual void ReportError(const std::string& balloonTitle, const std::string& balloonText,
                             const std::string& dialogText) = 0;
    // An error about one file. Balloons and dialogs keep the words above, whose context
    // tells the file; a console, which may have been given several, names it as well.
    virtual void ReportFileError(const std::string& path, const std::string& balloonTitle,
                                 const std::string& balloonText, const std::string& dialogText)
    {
        static_cast<void>(path);
        ReportError(balloonTitle, balloonText, dialogText);
    }
    // An information balloon, e.g. the change notice.
    virtual void Notice(const std::string& title, const std::string& text) = 0;
    // A yes/no question; true for Yes.
    virtual bool Ask(const std::string& question) = 0;
};

// The generic report of a caught failure: balloon text is its message, dialog text
// "ERROR: " followed by the message.
inline void ReportFailure(ReportSink& sink, const std::exception& failure,
                          const std::string& balloonTitle = "Error:")
{
    sink.ReportError(balloonTitle, failure.what(), std::string("ERROR: ") + failure.what());
}
