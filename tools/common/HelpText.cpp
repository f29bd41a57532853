#include "HelpText.h"

namespace tavlo::tool {
namespace {

constexpr std::string_view kIndent = "  ";
constexpr std::string_view kHelpIndent = "      ";

std::string optionWords(const Option& option) {
    std::string words(option.name);
    if (!option.value.empty()) words += " " + std::string(option.value);
    return words;
}

// "tavlo-cal [--folder 程序文件夹]": the name and the options of the whole tool.
std::string toolWords(const ToolDescription& tool) {
    std::string words(tool.name);
    for (const Option& option : tool.options) words += " [" + optionWords(option) + "]";
    return words;
}

std::string commandWords(const Command& command) {
    std::string words(command.name);
    if (!command.arguments.empty()) words += (words.empty() ? "" : " ") + std::string(command.arguments);
    return words;
}

bool hasNamedCommands(const ToolDescription& tool) {
    return !tool.commands.empty() && !tool.commands.front().name.empty();
}

// Each entry on a line of its own, its help below it, so that Chinese and
// Latin text need no column widths.
void appendEntry(std::string& text, std::string_view words, std::string_view help) {
    text += std::string(kIndent) + std::string(words) + "\n";
    if (!help.empty()) text += std::string(kHelpIndent) + std::string(help) + "\n";
}

void appendParagraph(std::string& text, std::string_view paragraph) {
    if (paragraph.empty()) return;
    text += std::string(paragraph);
    if (paragraph.back() != '\n') text += "\n";
}

void appendOptions(std::string& text, const ToolDescription& tool, const Command* command) {
    text += "\n选项：\n";
    if (command)
        for (const Option& option : command->options) appendEntry(text, optionWords(option), option.help);
    for (const Option& option : tool.options) appendEntry(text, optionWords(option), option.help);
    appendEntry(
        text, "-h, --help",
        hasNamedCommands(tool) && !command ? "显示帮助后退出；写在命令后面时显示那个命令的帮助" : "显示帮助后退出");
    appendEntry(text, "--version", "显示版本后退出");
}

}  // namespace

std::string usageLine(const ToolDescription& tool, const Command* command) {
    if (!command && tool.commands.size() == 1) command = &tool.commands.front();
    std::string line = "用法：" + toolWords(tool);
    if (command) {
        const std::string words = commandWords(*command);
        if (!words.empty()) line += " " + words;
        return line;
    }
    std::string names;
    for (const Command& each : tool.commands) names += (names.empty() ? "" : "|") + std::string(each.name);
    return line + " {" + names + "} [参数…]";
}

std::string helpText(const ToolDescription& tool, const Command* command) {
    if (!command && !hasNamedCommands(tool)) command = &tool.commands.front();
    const bool named = command && !command->name.empty();
    std::string text = usageLine(tool, command) + "\n";
    appendParagraph(text, named ? command->summary : tool.summary);
    if (command) appendParagraph(text, command->details);
    if (!command) {
        text += "\n命令：\n";
        for (const Command& each : tool.commands) appendEntry(text, commandWords(each), each.summary);
        if (!tool.details.empty()) text += "\n";
    }
    if (!named) appendParagraph(text, tool.details);
    appendOptions(text, tool, command);
    text += "\n退出状态：0 成功；1 失败（原因写在标准错误上）；2 用法不对。\n";
    return text;
}

}  // namespace tavlo::tool
