#pragma once
// For the Windows implementations of the platform layer only.
#include <string>

namespace tavlo {

// The cause behind a Windows error code in the user's words: the causes a
// user meets as FileError words them, any other in the system's own text
// (which is the user's language there).
std::string describeWindowsError(unsigned long code);

// The last error of the calling thread, described.
std::string describeLastWindowsError();

}  // namespace tavlo
