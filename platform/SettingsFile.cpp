#include "SettingsFile.h"

#include "AtomicFile.h"
#include "FileError.h"
#include "Gb18030.h"
#include "MappedFile.h"

#include <charconv>

namespace tavlo {

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view kGb18030Bom = "\x84\x31\x95\x33";

}  // namespace

std::vector<std::string> splitLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            lines.emplace_back(text.substr(start));
            break;
        }
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
        if (text[end] == '\r' && start < text.size() && text[start] == '\n') ++start;
    }
    return lines;
}

std::optional<std::vector<std::string>> readSettingsLines(const std::filesystem::path& path) {
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return std::nullopt;
    if (ec) throw FileError("读取文件", path, describeSystemError(ec.value()));
    // A pipe or device in a settings file's place holds no settings (and
    // reading it could wait for ever): the reader takes its defaults.
    if (status.type() != std::filesystem::file_type::regular) return std::nullopt;
    const MappedFile file(path);
    std::string_view body(reinterpret_cast<const char*>(file.bytes().data()), file.bytes().size());
    std::string text;
    try {
        if (body.starts_with(kUtf8Bom)) {
            text = sanitizeUtf8(body.substr(kUtf8Bom.size()));  // a BOM says UTF-8, whatever the default
        } else {
            if (body.starts_with(kGb18030Bom)) body.remove_prefix(kGb18030Bom.size());
            text = gb18030ToUtf8(body);
        }
    } catch (const TextEncodingError& error) {
        throw FileError("读取文件", path, error.what());
    }
    // Repeated marks (a file saved twice by a careless editor) are no text either.
    file.checkUnchanged();
    std::string_view rest = text;
    while (rest.starts_with(kUtf8Bom)) rest.remove_prefix(kUtf8Bom.size());
    return splitLines(rest);
}

void writeSettingsLines(const std::filesystem::path& path, const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += "\r\n";
    }
    std::string bytes;
    try {
        bytes = utf8ToGb18030(text);
    } catch (const TextEncodingError& error) {
        throw FileError("写入文件", path, error.what());
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
