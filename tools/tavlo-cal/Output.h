#pragma once
// Standard output of tavlo-cal: every write is checked, so that a full disk
// or a closed output ends the tool with a message instead of a lost result.
#include <cstdio>
#include <stdexcept>
#include <string>
#include <string_view>

namespace tavlo::cal {

// A write that failed; the text names the cause in Chinese.
struct OutputError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Writes all of `text` or throws OutputError.
void writeOut(std::FILE* out, std::string_view text);
// Flushes what is still buffered; throws OutputError.
void finishOut(std::FILE* out);

// The cause behind a failed write to standard output.
std::string describeOutputError(int errnoValue);

}  // namespace tavlo::cal
