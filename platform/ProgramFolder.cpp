#include "ProgramFolder.h"

#include "PrivateAccess.h"

#include <algorithm>
#include <cctype>

namespace tavlo {

namespace {

bool equalsIgnoreCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](unsigned char x, unsigned char y) {
               return std::tolower(x) == std::tolower(y);
           });
}

}  // namespace

ProgramFolder::ProgramFolder(std::filesystem::path root) : root_(std::move(root)) {}

ProgramFolder ProgramFolder::ofExecutable() {
    return ProgramFolder(executablePath().parent_path());
}

std::filesystem::path ProgramFolder::path(std::string_view relative) const {
    std::filesystem::path result = root_;
    bool first = true;
    while (!relative.empty()) {
        const auto cut = relative.find_first_of("\\/");
        std::string_view part = relative.substr(0, cut);
        relative = cut == std::string_view::npos ? std::string_view{} : relative.substr(cut + 1);
        if (part.empty()) continue;
        if (first && equalsIgnoreCase(part, "data")) part = "Data";
        result /= std::filesystem::path(std::u8string(part.begin(), part.end()));
        first = false;
    }
    return result;
}

std::filesystem::path ProgramFolder::pathForWrite(std::string_view relative) const {
    auto full = path(relative);
    createPrivateFolders(full.parent_path());
    return full;
}

void ProgramFolder::makePrivate() const {
    narrowToOwner(root_);
}

std::filesystem::path ProgramFolder::backgroundFile(std::string_view name) const {
    // A list line names a file in the background folder; a rooted name in a
    // hand-edited list must not reach elsewhere.
    const std::filesystem::path file(std::u8string(name.begin(), name.end()));
    return backgroundFolder() / file.relative_path();
}

}  // namespace tavlo
