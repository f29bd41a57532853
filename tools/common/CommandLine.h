#pragma once
// Reads a tool's argument words against its description, as Unix tools do:
// "--name value" or "--name=value" anywhere before "--", "-h"/"--help" and
// "--version" wherever they stand. A word of one dash and a digit ("-0849-01-21")
// or a lone "-" is an argument, not an option.
#include "ToolDescription.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tavlo::tool {

// What was asked for: a command with its arguments and options.
struct Invocation {
    const Command* command = nullptr;
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;  // in order; switches with an empty value

    bool has(std::string_view option) const;
    // The value given last for the option.
    std::optional<std::string> value(std::string_view option) const;
};

struct CommandLine {
    enum class Request { Run, Help, Version };
    Request request = Request::Run;
    // For Help, `command` is the command whose help is asked for, or none.
    Invocation invocation;
};

// A command line that cannot be read, with the command it names if it got
// that far (for the usage line).
struct CommandLineError : UsageError {
    CommandLineError(const std::string& cause, const Command* command) : UsageError(cause), command(command) {}
    const Command* command;
};

// Throws CommandLineError.
CommandLine readCommandLine(const ToolDescription& tool, const std::vector<std::string>& words);

}  // namespace tavlo::tool
