// The tools' command line as the shared helper reads it.
#include "CommandLine.h"

#include <gtest/gtest.h>

namespace tavlo::tool {
namespace {

const ToolDescription kTool{
    .name = "tavlo-test",
    .options = {{"--folder", "程序文件夹"}, {"--verbose"}},
    .commands =
        {{.name = "day", .mostOperands = 1},
         {.name = "dump", .fewestOperands = 2, .mostOperands = 2},
         {.name = "render", .fewestOperands = 1, .mostOperands = 2, .options = {{"--size", "宽x高"}, {"--no-title"}}}},
};

struct Case {
    std::vector<std::string> words;
    std::string command;
    std::vector<std::string> operands;
    std::vector<std::pair<std::string, std::string>> options;
    CommandLine::Request request = CommandLine::Request::Run;
};

TEST(ToolCommandLine, ReadsOptionsAndArgumentsAsUnixToolsDo) {
    using Request = CommandLine::Request;
    const Case cases[] = {
        {{"--folder", "F", "day", "2024-01-01"}, "day", {"2024-01-01"}, {{"--folder", "F"}}},
        {{"day", "--folder=F", "--verbose"}, "day", {}, {{"--folder", "F"}, {"--verbose", ""}}},
        // A value is the next word whatever it looks like.
        {{"--folder", "-x", "day"}, "day", {}, {{"--folder", "-x"}}},
        // Years before year 1 and a lone dash are arguments.
        {{"dump", "-0849-01-21", "-0001-12-31"}, "dump", {"-0849-01-21", "-0001-12-31"}, {}},
        {{"render", "-"}, "render", {"-"}, {}},
        // After "--" every word is an argument.
        {{"render", "--", "--size", "-h"}, "render", {"--size", "-h"}, {}},
        {{"render", "x.png", "--size", "10x10", "--no-title"},
         "render",
         {"x.png"},
         {{"--size", "10x10"}, {"--no-title", ""}}},
        // Help and version wherever they stand; help of the command named.
        {{"render", "--help"}, "render", {}, {}, Request::Help},
        {{"-h", "dump", "1"}, "dump", {"1"}, {}, Request::Help},
        {{"--help"}, "", {}, {}, Request::Help},
        {{"day", "1", "2", "3", "--version"}, "day", {"1", "2", "3"}, {}, Request::Version},
    };
    for (const Case& c : cases) {
        std::string words;
        for (const std::string& word : c.words) words += word + " ";
        SCOPED_TRACE(words);
        const CommandLine line = readCommandLine(kTool, c.words);
        EXPECT_EQ(line.request, c.request);
        EXPECT_EQ(line.invocation.command ? std::string(line.invocation.command->name) : "", c.command);
        EXPECT_EQ(line.invocation.operands, c.operands);
        EXPECT_EQ(line.invocation.options, c.options);
    }
}

TEST(ToolCommandLine, TellsWhatIsWrongAndHowFarItGot) {
    const struct {
        std::vector<std::string> words;
        std::string cause, command;
    } cases[] = {
        {{}, "缺少命令", ""},
        {{"--verbose"}, "缺少命令", ""},
        {{"frobnicate"}, "未知的命令：frobnicate", ""},
        {{"-x", "day"}, "未知的选项：-x", ""},
        {{"day", "--size", "1x1"}, "未知的选项：--size", "day"},
        {{"render", "x.png", "--size"}, "--size 后面应有宽x高", "render"},
        {{"render", "x.png", "--size="}, "--size 后面应有宽x高", "render"},
        {{"--folder", ""}, "--folder 后面应有程序文件夹", ""},
        {{"render", "--no-title=yes", "x.png"}, "--no-title 后面不应有值", "render"},
        {{"dump", "2024-01-01"}, "缺少参数", "dump"},
        {{"day", "2024-01-01", "2024-01-02"}, "多余的参数：2024-01-02", "day"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cause);
        try {
            readCommandLine(kTool, c.words);
            ADD_FAILURE() << "read without complaint";
        } catch (const CommandLineError& error) {
            EXPECT_EQ(error.what(), c.cause);
            EXPECT_EQ(error.command ? std::string(error.command->name) : "", c.command);
        }
    }
}

}  // namespace
}  // namespace tavlo::tool
