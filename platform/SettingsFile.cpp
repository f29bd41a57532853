#include "SettingsFile.h"

#include "AtomicFile.h"
#include "FileError.h"
#include "Gb18030.h"
#include "MappedFile.h"

#include <charconv>
#include <cstdio>

namespace tavlo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kGb18030Bom = "\x84\x31\x95\x33";

// Calls `take` with each line of `text`: a final line end closes the last
// line, CR LF is one line end.
template <typename Take>
void forEachLine(std::string_view text, Take&& take) {
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            take(text.substr(start));
            return;
        }
        take(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
}

void reportSkippedLines(const std::filesystem::path& path, std::size_t count) {
    std::fprintf(stderr, "设置文件“%s”中有 %zu 行超过 %zu KB，比任何路径都长，已跳过。\n",
                 reinterpret_cast<const char*>(path.u8string().c_str()), count, kMaxSettingsLineBytes / 1024);
}

// Repeated marks (a file saved twice by a careless editor) are no text either.
void dropByteOrderMarks(std::string& line) {
    std::size_t marks = 0;
    while (std::string_view(line).substr(marks).starts_with(kUtf8Bom)) marks += kUtf8Bom.size();
    line.erase(0, marks);
}

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    forEachLine(text, [&lines](std::string_view line) { lines.emplace_back(line); });
    return lines;
}

std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& path,
                                                          std::vector<std::string>* lineBytes) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) throw FileError(kReadFileAction, path, describeSystemError(ec.value()));
    // A pipe or device in a settings file's place holds no settings (and
    // reading it could wait for ever): the reader takes its defaults.
    if (status.type() != std::filesystem::file_type::regular) return std::nullopt;
    return settingsLinesOf(MappedFile(path), lineBytes);
}

std::vector<std::string> settingsLinesOf(const MappedFile& file, std::vector<std::string>* lineBytes) {
    std::string_view body(reinterpret_cast<const char*>(file.bytes().data()), file.bytes().size());
    const bool utf8 = body.starts_with(kUtf8Bom);  // a BOM says UTF-8, whatever the default
    if (utf8) body.remove_prefix(kUtf8Bom.size());
    if (!utf8 && body.starts_with(kGb18030Bom)) body.remove_prefix(kGb18030Bom.size());
    // Line by line: CR and LF are never part of a longer character in
    // GB18030 or UTF-8, and a line too long to hold a value is never decoded.
    std::vector<std::string> lines;
    if (lineBytes) lineBytes->clear();
    std::size_t skipped = 0;
    try {
        forEachLine(body, [&](std::string_view line) {
            if (line.size() > kMaxSettingsLineBytes) {
                ++skipped;
                return;
            }
            lines.push_back(utf8 ? sanitizeUtf8(line) : gb18030ToUtf8(line));
            if (lineBytes) lineBytes->emplace_back(line);
        });
    } catch (const TextEncodingError& error) {
        throw FileError(kReadFileAction, file.path(), error.what());
    }
    file.checkUnchanged();
    if (skipped > 0) reportSkippedLines(file.path(), skipped);
    if (!lines.empty()) dropByteOrderMarks(lines.front());
    return lines;
}

void writeSettingsLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string bytes;
    try {
        for (const auto& line : lines) {
            bytes += isUtf8(line) ? utf8ToGb18030(line) : line;  // a name that is no text: its own bytes
            bytes += "\r\n";
        }
    } catch (const TextEncodingError& error) {
        throw FileError(kWriteFileAction, path, error.what());
    }
    // Text whose first bytes look like a byte-order mark (the GBK character
    // 锘 is EF BB) gets a real mark first, so that it reads back as written.
    if (std::string_view(bytes).starts_with(kUtf8Bom) || std::string_view(bytes).starts_with(kGb18030Bom))
        bytes.insert(0, kGb18030Bom);
    AtomicFile file(path, AtomicFile::Sync::Durable);
    file.write(bytes.data(), bytes.size());
    file.commit();
}

void writeDefaultSettingsLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::error_code ec;
    const std::filesystem::file_type type = std::filesystem::status(path, ec).type();
    if (type != std::filesystem::file_type::not_found && type != std::filesystem::file_type::regular && !ec) return;
    writeSettingsLines(path, lines);
}

std::optional<std::int32_t> parseInteger(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.starts_with('+') && !text.starts_with("+-")) text.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc{} || end != text.data() + text.size()) return std::nullopt;
    return value;
}

}  // namespace tavlo
