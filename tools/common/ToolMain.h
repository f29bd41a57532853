#pragma once
// The main function every tool shares: reads the command line against the
// tool's description, answers --help and --version, runs the command and
// turns what it throws into the message and exit status of a Unix tool:
// 0 done, 1 failed (the cause on standard error), 2 a wrong command line
// (the cause and the usage line on standard error).
#include "CommandLine.h"
#include "ToolDescription.h"

#include <functional>
#include <string_view>

namespace tavlo::tool {

// Runs the command and returns its exit status. Results go through
// writeOut; a failure is thrown as Failure (or another exception whose text
// names the file and the cause in Chinese, such as FileError), wrong
// arguments as UsageError.
using ToolBody = std::function<int(const Invocation&)>;

int runTool(const ToolDescription& tool, int argc, char** argv, const ToolBody& body);

// "tavlo-cal: text" on standard error, for what a command reports and goes on.
void reportProblem(const ToolDescription& tool, std::string_view text);

// "tavlo-cal 1.0.0".
std::string versionLine(const ToolDescription& tool);

}  // namespace tavlo::tool
