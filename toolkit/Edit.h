#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A single-line text field. OnChange is raised by every change of its text: each keystroke
// or edit of the user, and SetText with a different text (once); SetText with the text it
// already holds raises nothing.
class Edit : public Control {
public:
    explicit Edit(const ControlArgs& args);

    void SetText(const std::string& text) override;

    // The most characters the user can type; 0 for the system's limit.
    int MaxLength() const;
    void SetMaxLength(int characters);

    NotifyEvent OnChange;

protected:
    Edit(const ControlArgs& args, DWORD kindStyle);

    bool HandleCommand(WORD code) override;

private:
    // The text the last change event saw. The edit also reports "changes" that leave the
    // text as it was (a keystroke refused at the length limit); those raise nothing.
    std::string shownText_;
};

} // namespace toolkit
