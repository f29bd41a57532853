// platform-probe FOLDER: runs the file layer's Windows side in FOLDER (under
// Wine on the build machine) and prints every check that fails; exit 1 then.
// "platform-probe --backends" names the session's wallpaper and screen-copy
// backends instead.
#include "AtomicFile.h"
#include "CodePageText.h"
#include "FileError.h"
#include "Gb18030.h"
#include "MappedFile.h"
#include "ScreenCopyFactory.h"
#include "SettingsFile.h"
#include "WallpaperFactory.h"

#include <cstdio>
#include <filesystem>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

using namespace tavlo;

namespace {

int failures = 0;

void expect(bool ok, const std::string& what) {
    if (ok) return;
    std::printf("FAILED: %s\n", what.c_str());
    ++failures;
}

std::string errorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const FileError& error) {
        return error.what();
    }
    return "no error";
}

std::string contents(const std::filesystem::path& path) {
    const MappedFile file(path);
    file.checkUnchanged();
    return {reinterpret_cast<const char*>(file.bytes().data()), file.bytes().size()};
}

void write(const std::filesystem::path& path, std::string_view text, AtomicFile::Sync sync) {
    AtomicFile file(path, sync);
    file.write(text.data(), text.size());
    file.commit();
}

std::size_t filesIn(const std::filesystem::path& folder) {
    return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder), {}));
}

void checkReplacement(const std::filesystem::path& folder) {
    const auto path = folder / "Mix.bmp";
    for (const auto sync : {AtomicFile::Sync::Fast, AtomicFile::Sync::Durable}) {
        write(path, "first", sync);
        write(path, "second", sync);
        expect(contents(path) == "second", "a file is created, then replaced");
    }
    {
        AtomicFile dropped(path, AtomicFile::Sync::Fast);
        dropped.write("lost", 4);
    }
    expect(contents(path) == "second", "an uncommitted file replaces nothing");

    AtomicFile pieces(folder / "pieces", AtomicFile::Sync::Fast);
    const std::string a = "ab", b = "cd";
    const AtomicFile::Piece list[] = {{a.data(), a.size()}, {b.data(), b.size()}};
    pieces.writeGathered(list);
    pieces.copyFrom(MappedFile(path), 1, 3);
    pieces.writeAt(0, "X", 1);
    pieces.commit();
    expect(contents(folder / "pieces") == "Xbcdeco", "gathered, positioned and copied bytes land in place");

    std::filesystem::create_directory(folder / "Folder.bmp");
    const std::string refused = errorOf([&] { write(folder / "Folder.bmp", "x", AtomicFile::Sync::Durable); });
    expect(refused.ends_with("失败：是文件夹，不是文件"), "a folder is not replaced: " + refused);
    expect(std::filesystem::is_directory(folder / "Folder.bmp"), "the folder stays");
    const std::string device = errorOf([&] { write("NUL", "x", AtomicFile::Sync::Fast); });
    expect(device.ends_with("失败：是设备，不是普通文件"), "a device is not replaced: " + device);
    const std::string missing = errorOf([&] { write(folder / "no" / "x", "x", AtomicFile::Sync::Fast); });
    expect(missing.ends_with("失败：文件不存在"), "a missing folder is named: " + missing);
    expect(filesIn(folder) == 3, "no temporary is left behind");
}

void checkReading(const std::filesystem::path& folder) {
    const std::string asFolder = errorOf([&] { MappedFile file(folder); });
    expect(asFolder.ends_with("失败：是文件夹，不是文件"), "a folder is not read: " + asFolder);
    const std::string asDevice = errorOf([&] { MappedFile file("NUL"); });
    expect(asDevice.ends_with("失败：是设备，不是普通文件"), "a device is not read: " + asDevice);
    const std::string missing = errorOf([&] { MappedFile file(folder / "missing"); });
    expect(missing.ends_with("失败：文件不存在"), "a missing file: " + missing);
    write(folder / "empty", "", AtomicFile::Sync::Fast);
    expect(MappedFile(folder / "empty").bytes().empty(), "an empty file reads as nothing");
}

void checkSettingsText(const std::filesystem::path& folder) {
    bool refused = false;
    try {
        utf8ToGb18030("bad \xC0\xAF");
    } catch (const TextEncodingError&) {
        refused = true;
    }
    expect(refused, "text that is not UTF-8 is not written");
    // Windows has had code page 54936 since XP; Wine 8 has not.
    if (!decodeCodePage(kCodePageGb18030, "a")) {
        std::printf("platform-probe: this system has no code page 54936 (GB18030): settings text not checked\n");
        return;
    }
    const auto path = folder / "BGPicList.ini";
    const std::vector<std::string> lines = {"第一行", "A1.bmp", "𠀀 €"};
    writeSettingsLines(path, lines);
    expect(contents(path) == "\xb5\xda\xd2\xbb\xd0\xd0\r\nA1.bmp\r\n\x95\x32\x82\x36 \xa2\xe3\r\n",
           "settings are written in GB18030 with CR LF");
    expect(readSettingsLines(path) == lines, "settings read back as written");
    expect(gb18030ToUtf8("a\xff\x81\x30z") ==
               "a\xEF\xBF\xBD\xEF\xBF\xBD"
               "0z",
           "bad bytes read as U+FFFD, one each");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && std::string(argv[1]) == "--backends") {
        std::puts(wallpaper::createSessionBackend()->name().c_str());
        std::puts(screencopy::createSessionScreenCopy()->name().c_str());
        return 0;
    }
    if (argc != 2) {
        std::fprintf(stderr, "usage: platform-probe FOLDER | --backends\n");
        return 2;
    }
    const std::filesystem::path folder = std::filesystem::path(argv[1]) / "probe";
    std::filesystem::create_directories(folder);
    try {
        checkReplacement(folder);
        checkReading(folder);
        checkSettingsText(folder);
    } catch (const std::exception& error) {
        expect(false, std::string("unexpected error: ") + error.what());
    }
    std::printf("%s\n", failures == 0 ? "platform-probe: all checks passed" : "platform-probe: checks failed");
    return failures == 0 ? 0 : 1;
}
