#pragma once
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tavlo {

class MappedFile;

// The program's settings and list files: plain text, one value per line,
// GB18030 on disk, UTF-8 in memory. Lines end in CR LF when written; CR LF,
// LF or CR are accepted when read, and a leading byte-order mark is skipped.
//
// A file name from a file system that does not use UTF-8 (a GBK-named
// folder) is no UTF-8 text: such a line is written byte for byte, and its
// reader finds the name again from the line's bytes (see the sources'
// PathText.h).

// No path is longer: 32,767 UTF-16 units (the longest Windows path) take at
// most 4 bytes each in GB18030. A longer line holds no value of ours.
inline constexpr std::size_t kMaxSettingsLineBytes = 128 * 1024;

// The lines of a file's text. A final line end closes the last line; an empty
// text has no line at all.
std::vector<std::string> splitLines(std::string_view text);

// The file's lines, or nothing when the file does not exist or is not a
// regular file. Bytes that are not valid text read as U+FFFD; a file that
// cannot be read throws FileError. A line longer than kMaxSettingsLineBytes
// is left out, and one Chinese line on standard error tells of all that
// were; the memory taken stays that of the lines kept. `lineBytes`, when
// given, receives each kept line's own bytes (after a byte-order mark).
std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& path,
                                                          std::vector<std::string>* lineBytes = nullptr);

// The lines of a file already open, as above; throws FileError also when the
// file was cut or rewritten while it was read.
std::vector<std::string> settingsLinesOf(const MappedFile& file, std::vector<std::string>* lineBytes = nullptr);

// Replaces the file with these lines, atomically and durably; throws
// FileError. A line that is not UTF-8 is written as it is.
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
