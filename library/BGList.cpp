#include "BGList.h"

#include "AtomicFile.h"
#include "FileError.h"
#include "LibraryTexts.h"
#include "MappedFile.h"
#include "Picture.h"
#include "SettingsFile.h"

#include <exception>

namespace tavlo {

namespace {

const std::vector<std::string> kDefaultLines = {kBuiltInBackground, kBuiltInBackground};

}  // namespace

// The library copy is the only one the program keeps: it is on disk before
// the list names it.
void copyIntoLibrary(const MappedFile& source, const std::filesystem::path& to) {
    AtomicFile target(to, AtomicFile::Sync::Durable);
    target.copyFrom(source, 0, source.bytes().size());
    source.checkUnchanged();
    target.commit();
}

std::vector<std::string> readBGListLines(const ProgramFolder& folder) {
    std::vector<std::string> bytes;
    auto lines = readSettingsLines(folder.path(kBGListFile), &bytes);
    if (lines && !lines->empty()) {
        // Each name as the file system spells it, a name that is not UTF-8 too.
        for (std::size_t i = 0; i < lines->size(); ++i)
            (*lines)[i] = pathToText(pathFromSettingsLine((*lines)[i], bytes[i], folder.backgroundFolder()));
        return std::move(*lines);
    }
    // A file without any line has no chosen background either: start afresh.
    writeDefaultSettingsLines(folder.pathForWrite(kBGListFile), kDefaultLines);
    return kDefaultLines;
}

void writeBGListLines(const ProgramFolder& folder, const std::string& chosen, const std::vector<std::string>& library) {
    std::vector<std::string> lines;
    lines.reserve(library.size() + 1);
    lines.push_back(chosen);
    lines.insert(lines.end(), library.begin(), library.end());
    writeSettingsLines(folder.pathForWrite(kBGListFile), lines);
}

std::optional<std::filesystem::path> backgroundPath(const ProgramFolder& folder, std::string_view name) {
    const std::filesystem::path file = textToPath(std::string(name)).relative_path().lexically_normal();
    if (file.empty() || file == "." || *file.begin() == "..") return std::nullopt;
    return folder.backgroundFolder() / file;
}

void LoadBGList(GlobalState& state, BackgroundWalk& walk, bool StartAtChoice) {
    std::vector<std::string> lines;
    try {
        lines = readBGListLines(state.folder);
    } catch (const FileError&) {
        return;  // an unreadable list leaves everything as it was
    }
    walk.CurrentBGFile = lines.front();
    state.PicBGList.clear();
    for (std::size_t i = 0; i < lines.size(); ++i) state.PicBGList.push_back({static_cast<std::int32_t>(i), lines[i]});
    for (const TPicBGList& entry : state.PicBGList) {
        if (entry.FileName != walk.CurrentBGFile) continue;
        walk.CurrentBGIndex = StartAtChoice ? entry.Index : state.PicBGCount() - 1;
    }
}

void BackgroundPicker::FillPicList() {
    try {
        const std::vector<std::string> lines = readBGListLines(folder_);
        PickedBGFile = lines.front();
        items.assign(lines.begin() + 1, lines.end());
    } catch (const FileError&) {}
}

namespace {

// What the user is told of a refused picture or file: its cause where it
// has one written for the user.
std::string userCause(const std::exception& error) {
    if (const auto* image = dynamic_cast<const imaging::ImageError*>(&error)) return image->cause();
    if (dynamic_cast<const UserFacingError*>(&error)) return error.what();
    return {};
}

// The library's pictures are BMP files: the kinds the insert command takes
// are converted beside their copy.
std::filesystem::path libraryBmp(const std::filesystem::path& dest) {
    if (lowerExtension(dest) == ".png") return PngToBmp(dest);
    return ConvertToBmp(dest);
}

}  // namespace

BackgroundPicker::AddResult BackgroundPicker::Add(const std::filesystem::path& chosen) {
    addCause.clear();
    const std::filesystem::path dest = folder_.backgroundFolder() / chosen.filename();
    // A BMP is its own converted file: one that cannot be read is refused
    // before it replaces (and then loses) a background of the same name.
    if (lowerExtension(chosen) == ".bmp") {
        try {
            imaging::loadPicture(chosen);
        } catch (const imaging::ImageError& error) {
            addCause = userCause(error);
            return AddResult::NotAPicture;
        } catch (const FileError& error) {
            addCause = userCause(error);
            return AddResult::Failed;
        }
    }
    std::filesystem::path bmpPath;
    try {
        std::filesystem::create_directories(dest.parent_path());
        std::error_code same;
        if (!std::filesystem::equivalent(chosen, dest, same)) copyIntoLibrary(MappedFile(chosen), dest);
        bmpPath = libraryBmp(dest);
    } catch (const std::exception& error) {
        addCause = userCause(error);
        return AddResult::Failed;
    }
    try {
        if (bmpPath.empty())
            throw imaging::ImageError(imaging::ImageFault::UnknownFormat, library::texts::kUnsupportedKind,
                                      "no BMP for this kind of file");
        imaging::loadPicture(bmpPath);
    } catch (const std::exception& error) {
        addCause = userCause(error);
        std::error_code ignored;
        if (!bmpPath.empty()) std::filesystem::remove(bmpPath, ignored);
        return AddResult::NotAPicture;
    }
    items.push_back(pathToText(bmpPath.filename()));
    try {
        WriteBGListFile();
    } catch (const FileError& error) {
        items.pop_back();  // the list changes only together with its file
        addCause = userCause(error);
        return AddResult::Failed;
    }
    return AddResult::Added;
}

void BackgroundPicker::Remove(std::optional<int> selected) {
    if (!selected || *selected < 0 || *selected >= static_cast<int>(items.size())) return;
    const std::string caption = items[static_cast<std::size_t>(*selected)];
    if (caption == PickedBGFile) PickedBGFile = kBuiltInBackground;
    if (caption != kBuiltInBackground) items.erase(items.begin() + *selected);
    try {
        WriteBGListFile();
    } catch (const FileError&) {}
}

void BackgroundPicker::Ok(std::optional<int> selected) {
    if (!selected || *selected < 0 || *selected >= static_cast<int>(items.size())) return;
    const std::string& caption = items[static_cast<std::size_t>(*selected)];
    if (caption == PickedBGFile) return;
    PickedBGFile = caption;
    try {
        WriteBGListFile();
    } catch (const FileError&) {}
}

void BackgroundPicker::WriteBGListFile() {
    writeBGListLines(folder_, PickedBGFile, items);
}

}  // namespace tavlo
