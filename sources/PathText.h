#pragma once
#include <filesystem>
#include <string>

namespace tavlo {

// Path <-> the text stored in settings files: the path's own bytes (UTF-8
// for every name a UTF-8 system makes; the settings files keep a name that
// is not UTF-8 byte for byte).
std::string pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(const std::string& text);

// The path a settings line names, from the line read as text and from its
// own bytes (readSettingsLines gives both). A line that is not the GB18030
// form of its text was a name stored byte for byte; one that may be either
// (a Chinese name in GB18030, or a GBK name stored as it is) names the one
// that exists, or else the one of which more leading folders exist; the
// text when that does not tell. Relative names are looked up in `folder`.
std::filesystem::path pathFromSettingsLine(const std::string& text, const std::string& bytes,
                                           const std::filesystem::path& folder = {});

}  // namespace tavlo
