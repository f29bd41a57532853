#pragma once
// The texts a tool writes about itself, made from its description.
#include "ToolDescription.h"

#include <string>

namespace tavlo::tool {

// "用法：tavlo-cal [--folder 程序文件夹] day [YYYY-MM-DD]"; for no command,
// the tool's commands as alternatives (its one command, if it has one).
std::string usageLine(const ToolDescription& tool, const Command* command);

// The whole help of the tool, or of one of its commands.
std::string helpText(const ToolDescription& tool, const Command* command);

}  // namespace tavlo::tool
