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
    // Set while SetText replaces the text, so its own change notice is not raised twice.
    bool assigning_ = false;
};

} // namespace toolkit
