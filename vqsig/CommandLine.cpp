#include "vqsig/CommandLine.h"

#include "vqsig/CommandTable.h"

#include <algorithm>

namespace vqsig {

namespace {

bool IsHelpRequest(const std::string& argument)
{
    return argument == "--help" || argument == "-h" || argument == "/?" || argument == "help";
}

// No option starts with a digit: "-1" is a number, for the command to judge.
bool IsOption(const std::string& argument)
{
    return argument.size() > 1 && argument[0] == '-' && !(argument[1] >= '0' && argument[1] <= '9');
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

const Command& CommandNamed(const std::string& name)
{
    const Command* command = FindCommand(name);
    if (!command)
        throw UsageError("Unknown command \"" + name + "\".");
    return *command;
}

void CheckOperands(const Invocation& invocation, const Command& rule)
{
    const std::size_t given = invocation.operands.size();
    if (given < rule.leastOperands)
        throw UsageError("The command " + invocation.command + " needs more arguments.");
    if (given > rule.mostOperands)
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
    const Command& rule = CommandNamed(invocation.command);
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
