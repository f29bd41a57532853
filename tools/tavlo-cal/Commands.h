#pragma once
#include <cstdio>
#include <string>
#include <vector>

namespace tavlo::cal {

// Each command reads its arguments (after the command word) and writes to
// `out`; bad arguments throw UsageError.
void runMonth(const std::vector<std::string>& args, std::FILE* out);
void runDay(const std::vector<std::string>& args, std::FILE* out);
void runDump(const std::vector<std::string>& args, std::FILE* out);

}  // namespace tavlo::cal
