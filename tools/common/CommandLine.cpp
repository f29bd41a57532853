#include "CommandLine.h"

#include <algorithm>

namespace tavlo::tool {
namespace {

bool isOptionWord(std::string_view word) {
    return word.size() >= 2 && word[0] == '-' && !(word[1] >= '0' && word[1] <= '9');
}

const Option* findOption(const std::vector<Option>& options, std::string_view name) {
    const auto found = std::find_if(options.begin(), options.end(), [&](const Option& o) { return o.name == name; });
    return found == options.end() ? nullptr : &*found;
}

// The one nameless command of a tool without commands, else none yet.
const Command* defaultCommand(const ToolDescription& tool) {
    return tool.commands.size() == 1 && tool.commands.front().name.empty() ? &tool.commands.front() : nullptr;
}

class Reader {
public:
    Reader(const ToolDescription& tool, const std::vector<std::string>& words) : tool_(tool), words_(words) {
        line_.invocation.command = defaultCommand(tool);
    }

    CommandLine read() {
        bool optionsEnded = false;
        for (next_ = 0; next_ < words_.size();) {
            const std::string& word = words_[next_++];
            if (!optionsEnded && word == "--")
                optionsEnded = true;
            else if (!optionsEnded && isOptionWord(word))
                takeOption(word);
            else
                takeOperand(word);
        }
        if (help_) line_.request = CommandLine::Request::Help;
        if (version_) line_.request = CommandLine::Request::Version;
        if (line_.request == CommandLine::Request::Run) checkOperands();
        return line_;
    }

private:
    [[noreturn]] void fail(const std::string& cause) const { throw CommandLineError(cause, command()); }
    const Command* command() const { return line_.invocation.command; }

    void takeOption(const std::string& word) {
        const std::size_t equals = word.find('=');
        const std::string name = word.substr(0, equals);
        if (name == "--help" || name == "-h") {
            help_ = true;
            return;
        }
        if (name == "--version") {
            version_ = true;
            return;
        }
        const Option* option = findOption(tool_.options, name);
        if (!option && command()) option = findOption(command()->options, name);
        if (!option) fail("未知的选项：" + name);
        std::string value;
        if (option->value.empty()) {
            if (equals != std::string::npos) fail(name + " 后面不应有值");
        } else if (equals != std::string::npos) {
            value = word.substr(equals + 1);
        } else if (next_ < words_.size()) {
            value = words_[next_++];
        }
        if (!option->value.empty() && value.empty()) fail(name + " 后面应有" + std::string(option->value));
        line_.invocation.options.emplace_back(name, value);
    }

    void takeOperand(const std::string& word) {
        if (command()) {
            line_.invocation.operands.push_back(word);
            return;
        }
        const auto found = std::find_if(tool_.commands.begin(), tool_.commands.end(),
                                        [&](const Command& c) { return c.name == word; });
        if (found == tool_.commands.end()) fail("未知的命令：" + word);
        line_.invocation.command = &*found;
    }

    void checkOperands() const {
        if (!command()) fail("缺少命令");
        const std::vector<std::string>& operands = line_.invocation.operands;
        if (operands.size() < command()->fewestOperands) fail("缺少参数");
        if (operands.size() > command()->mostOperands) fail("多余的参数：" + operands[command()->mostOperands]);
    }

    const ToolDescription& tool_;
    const std::vector<std::string>& words_;
    std::size_t next_ = 0;
    bool help_ = false;
    bool version_ = false;
    CommandLine line_;
};

}  // namespace

bool Invocation::has(std::string_view option) const {
    return std::any_of(options.begin(), options.end(), [&](const auto& given) { return given.first == option; });
}

std::optional<std::string> Invocation::value(std::string_view option) const {
    const auto found =
        std::find_if(options.rbegin(), options.rend(), [&](const auto& given) { return given.first == option; });
    if (found == options.rend()) return std::nullopt;
    return found->second;
}

CommandLine readCommandLine(const ToolDescription& tool, const std::vector<std::string>& words) {
    return Reader(tool, words).read();
}

}  // namespace tavlo::tool
