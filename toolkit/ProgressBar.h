#pragma once
#include "toolkit/Control.h"

namespace toolkit {

// A bar that fills from left to right as work goes on, from 0 to 100 percent.
class ProgressBar : public Control {
public:
    explicit ProgressBar(const ControlArgs& args);

    int Position() const noexcept { return position_; }
    // Clamped to 0 to 100.
    void SetPosition(int percent);

private:
    int position_ = 0;
};

} // namespace toolkit
