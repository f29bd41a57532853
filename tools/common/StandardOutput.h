#pragma once
// The standard streams of a tool. Every write to standard output is checked,
// so that a full disk or a closed output ends the tool with the cause
// instead of a result lost in silence.
#include <string>
#include <string_view>

namespace tavlo::tool {

// Call first: the number of a closed standard stream is taken by a stream
// that cannot be written, so that no file the tool opens can become its
// standard output and take the tool's output.
void guardClosedStreams();

// Writes all of `bytes` or throws Failure ("写入标准输出失败：cause").
void writeOut(std::string_view bytes);
// The text and a line end.
void writeLine(std::string_view text);
// Flushes what is still buffered; throws Failure.
void finishOut();

// A whole message on standard error in one write, so that warnings other
// threads print at the same moment do not land inside it.
void writeError(std::string_view text);

// The cause behind a failed write to standard output, in Chinese.
std::string describeOutputError(int errnoValue);

}  // namespace tavlo::tool
