#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

// The program's settings and list files: plain text, one value per line,
// GB18030 on disk, UTF-8 in memory. Lines end in CR LF when written; CR LF,
// LF or CR are accepted when read, and a leading byte-order mark is skipped.

// The lines of a file's text. A final line end closes the last line; an empty
// text has no line at all.
std::vector<std::string> splitLines(std::string_view text);

// The file's lines, or nothing when the file does not exist or is not a
// regular file. Bytes that are not valid text read as U+FFFD; a file that
// cannot be read throws FileError.
std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& path);

// Replaces the file with these lines, atomically and durably; throws FileError.
void writeSettingsLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// Writes a reader's defaults back, as writeSettingsLines, unless something
// that is not a regular file (a pipe, a device, a folder) stands at `path`:
// that is left as it is and nothing is written, as its reader has already
// taken the defaults in memory. A failed write throws FileError.
void writeDefaultSettingsLines(const std::filesystem::path& path, const std::vector<std::string>& lines);

// A decimal integer with an optional sign, blanks around it allowed; nothing
// when the text is not one or does not fit 32 bits.
std::optional<std::int32_t> parseInteger(std::string_view text);

}  // namespace tavlo
