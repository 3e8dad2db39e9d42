#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A static text. Created with no width or height, it sizes itself to its text in its font,
// again whenever the text or the font changes. Never a tab stop.
class Label : public Control {
public:
    explicit Label(const ControlArgs& args);

    void SetText(const std::string& text) override;

protected:
    LRESULT Filter(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void FitText();

    bool autoSize_;
};

} // namespace toolkit
