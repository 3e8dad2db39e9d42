#pragma once
#include <string>

// The message of the Failure the call throws, or "(no failure)".
template <typename Failure, typename Call>
std::string FailureOf(Call call)
{
    try {
        call();
    } catch (const Failure& failure) {
        return failure.what();
    }
    return "(no failure)";
}
