#include "vqsig/CommandLine.h"

#include <algorithm>
#include <array>
#include <limits>

namespace vqsig {

namespace {

struct OperandRule {
    const char* command;
    std::size_t least;
    std::size_t most;
};

constexpr std::size_t Unlimited = std::numeric_limits<std::size_t>::max();

constexpr std::array<OperandRule, 7> OperandRules{{
    {"pick", 0, Unlimited},
    {"count", 1, 1},
    {"list", 1, 1},
    {"add", 1, 2},
    {"delete", 2, 2},
    {"import", 2, Unlimited},
    {"export", 2, 2},
}};

bool IsHelpRequest(const std::string& argument)
{
    return argument == "--help" || argument == "-h" || argument == "/?" || argument == "help";
}

bool IsOption(const std::string& argument)
{
    return argument.size() > 1 && argument[0] == '-';
}

std::string TakeValue(const std::vector<std::string>& arguments, std::size_t& i)
{
    if (i + 1 >= arguments.size())
        throw UsageError("The option " + arguments[i] + " needs a file name after it.");
    return arguments[++i];
}

void SetOnce(std::optional<std::string>& option, const std::string& name, std::string value)
{
    if (option)
        throw UsageError("The option " + name + " is given twice.");
    option = std::move(value);
}

void ReadPickOption(Invocation& invocation, const std::vector<std::string>& arguments, std::size_t& i)
{
    const std::string& option = arguments[i];
    if (option == "--list")
        SetOnce(invocation.listFile, option, TakeValue(arguments, i));
    else if (option == "--out")
        SetOnce(invocation.outFile, option, TakeValue(arguments, i));
    else if (option == "--static")
        SetOnce(invocation.staticFile, option, TakeValue(arguments, i));
    else if (option == "--stdout")
        invocation.toStandardOutput = true;
    else if (option == "--above")
        invocation.above = true;
    else if (option == "--below")
        invocation.below = true;
    else if (option == "--no-delimiter")
        invocation.noDelimiter = true;
    else
        throw UsageError("Unknown option " + option + ".");
}

const OperandRule& RuleOf(const std::string& command)
{
    const auto rule = std::find_if(OperandRules.begin(), OperandRules.end(),
                                   [&](const OperandRule& r) { return command == r.command; });
    if (rule == OperandRules.end())
        throw UsageError("Unknown command \"" + command + "\".");
    return *rule;
}

void CheckOperands(const Invocation& invocation, const OperandRule& rule)
{
    const std::size_t given = invocation.operands.size();
    if (given < rule.least)
        throw UsageError("The command " + invocation.command + " needs more arguments.");
    if (given > rule.most)
        throw UsageError("The command " + invocation.command + " takes fewer arguments.");
    if (invocation.outFile && invocation.toStandardOutput)
        throw UsageError("Give either --out or --stdout, not both.");
    if (invocation.above && invocation.below)
        throw UsageError("Give either --above or --below, not both.");
}

} // namespace

Invocation ParseCommandLine(const std::vector<std::string>& arguments)
{
    if (arguments.empty())
        throw UsageError("No command given.");
    Invocation invocation;
    const auto endOfOptions = std::find(arguments.begin(), arguments.end(), "--");
    if (IsHelpRequest(arguments.front()) || std::find(arguments.begin(), endOfOptions, "--help") != endOfOptions) {
        invocation.command = "help";
        return invocation;
    }
    if (arguments.front() == "--version") {
        if (arguments.size() > 1)
            throw UsageError("--version takes no arguments.");
        invocation.command = "version";
        return invocation;
    }

    invocation.command = arguments.front();
    const OperandRule& rule = RuleOf(invocation.command);
    bool optionsEnded = false;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (!optionsEnded && argument == "--")
            optionsEnded = true;
        else if (!optionsEnded && IsOption(argument) && invocation.command == "pick")
            ReadPickOption(invocation, arguments, i);
        else if (!optionsEnded && IsOption(argument))
            throw UsageError("The command " + invocation.command + " has no option " + argument + ".");
        else
            invocation.operands.push_back(argument);
    }
    CheckOperands(invocation, rule);
    return invocation;
}

std::int64_t ParseRecordNumber(const std::string& text)
{
    const auto invalid = [&] {
        return UsageError("The record number \"" + text + "\" is not a whole number from 1 on.");
    };
    if (text.empty() || text.size() > 18 || !std::all_of(text.begin(), text.end(), [](char c) {
            return c >= '0' && c <= '9';
        }))
        throw invalid();
    const std::int64_t number = std::stoll(text);
    if (number < 1)
        throw invalid();
    return number;
}

} // namespace vqsig
