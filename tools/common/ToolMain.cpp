#include "ToolMain.h"

#include "FileError.h"
#include "HelpText.h"
#include "StandardOutput.h"

#include <filesystem>
#include <new>
#include <string>
#include <system_error>
#include <vector>

namespace tavlo::tool {
namespace {

int usageError(const ToolDescription& tool, const Command* command, const std::string& cause) {
    writeError(std::string(tool.name) + ": " + cause + "\n" + usageLine(tool, command) + "\n");
    return kExitUsage;
}

int failure(const ToolDescription& tool, const std::string& text) {
    reportProblem(tool, text);
    return kExitFailure;
}

// The text of a help or version request; a failed write is a failure too.
int answer(const ToolDescription& tool, const std::string& text) {
    try {
        writeOut(text);
        finishOut();
    } catch (const Failure& error) {
        return failure(tool, error.what());
    }
    return 0;
}

int runCommand(const ToolDescription& tool, const Invocation& invocation, const ToolBody& body) {
    try {
        const int status = body(invocation);
        finishOut();
        return status;
    } catch (const UsageError& error) {
        return usageError(tool, invocation.command, error.what());
    } catch (const std::bad_alloc&) {
        return failure(tool, "内存不足");
    } catch (const std::filesystem::filesystem_error& error) {
        return failure(tool, FileError("访问", error.path1(), error.code().value()).what());
    } catch (const std::system_error& error) {
        // Threads or other resources the system would not give.
        return failure(tool, "系统拒绝了请求：" + describeSystemError(error.code().value()));
    } catch (const std::exception& error) {
        return failure(tool, error.what());
    }
}

}  // namespace

void reportProblem(const ToolDescription& tool, std::string_view text) {
    writeError(std::string(tool.name) + ": " + std::string(text) + "\n");
}

std::string versionLine(const ToolDescription& tool) {
    return std::string(tool.name) + " " TAVLO_VERSION;
}

int runTool(const ToolDescription& tool, int argc, char** argv, const ToolBody& body) {
    guardClosedStreams();
    const std::vector<std::string> words(argv + 1, argv + argc);
    CommandLine line;
    try {
        line = readCommandLine(tool, words);
    } catch (const CommandLineError& error) {
        return usageError(tool, error.command, error.what());
    }
    switch (line.request) {
    case CommandLine::Request::Help: return answer(tool, helpText(tool, line.invocation.command));
    case CommandLine::Request::Version: return answer(tool, versionLine(tool) + "\n");
    case CommandLine::Request::Run: break;
    }
    return runCommand(tool, line.invocation, body);
}

}  // namespace tavlo::tool
