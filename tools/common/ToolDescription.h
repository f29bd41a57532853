#pragma once
// What a command-line tool says about itself: its commands, their arguments
// and options, in the words its help and usage lines show. The command line
// is read against it, and the help is written from it.
#include <cstddef>
#include <stdexcept>
#include <string_view>
#include <vector>

namespace tavlo::tool {

struct Option {
    std::string_view name{};   // "--folder"
    std::string_view value{};  // what follows it ("程序文件夹"); empty for a switch
    std::string_view help{};   // one line
};

struct Command {
    std::string_view name{};       // "day"; empty for a tool that has no commands
    std::string_view arguments{};  // as the usage line shows them, options included: "[YYYY-MM-DD]"
    std::string_view summary{};    // one line for the tool's help
    std::string_view details{};    // more lines for the command's own help; may be empty
    std::size_t fewestOperands = 0;
    std::size_t mostOperands = 0;
    std::vector<Option> options{};  // taken only after the command word
};

struct ToolDescription {
    std::string_view name{};          // "tavlo-cal"
    std::string_view summary{};       // what the tool is for, one line
    std::vector<Option> options{};    // taken anywhere on the line
    std::vector<Command> commands{};  // one nameless command for a tool that has no commands
    std::string_view details{};       // more lines for the tool's help; may be empty
};

// The command line cannot be run as given: the tool prints the cause and
// the usage line, and exits 2. The text is the cause, in Chinese.
struct UsageError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// The tool could not do what was asked: it prints the text (which names the
// file and the cause, in Chinese) and exits 1.
struct Failure : std::runtime_error {
    using std::runtime_error::runtime_error;
};

inline constexpr int kExitFailure = 1;
inline constexpr int kExitUsage = 2;

}  // namespace tavlo::tool
