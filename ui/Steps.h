#pragma once
#include <functional>

// Start-up and exit run as steps: one failing step must not keep the others from running
// (a bad stored position must not keep the database list from being loaded, and then lost
// at the next exit).
using Step = std::function<void()>;
using StepRunner = bool (*)(const Step& step) noexcept;

// Runs the step; a failure is shown by the application's last-resort handler. Answers
// whether the step completed.
bool RunStep(const Step& step) noexcept;
// The same where no box may be shown (the session is ending): a failure is dropped.
bool RunStepSilently(const Step& step) noexcept;
