#include "ui/Steps.h"

#include "toolkit/Application.h"

#include <exception>

bool RunStep(const Step& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        toolkit::Application::Instance().HandleException(std::current_exception());
        return false;
    }
}

bool RunStepSilently(const Step& step) noexcept
{
    try {
        step();
        return true;
    } catch (...) {
        // Nobody is left to read a box: the saves replace their files whole or not at all,
        // so a failed one leaves the previous file as it was.
        return false;
    }
}
