#pragma once
#include <filesystem>
#include <string>

namespace tavlo {

// Path <-> the UTF-8 text stored in settings files.
std::string pathToText(const std::filesystem::path& path);
std::filesystem::path textToPath(const std::string& text);

}  // namespace tavlo
