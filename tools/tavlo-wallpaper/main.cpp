// tavlo-wallpaper: sets a picture as the desktop wallpaper through the backend
// the program itself would use, or tells which backend that is and why.
//
//   tavlo-wallpaper set PATH   prints the backend's name
//   tavlo-wallpaper backend    prints "NAME: reason"
//
// Exits 1 with a one-line error on stderr when anything fails.
#include "WallpaperFactory.h"

#include <QCoreApplication>

#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string_view>

namespace {

constexpr const char* kUsage = "usage: tavlo-wallpaper set PATH | tavlo-wallpaper backend";

int fail(const std::string& message) {
    // One write for the whole line: GLib's worker threads may print warnings
    // at the same moment, and must not land inside it.
    const std::string line = "tavlo-wallpaper: " + message + "\n";
    std::fwrite(line.data(), 1, line.size(), stderr);
    return 1;
}

int printBackend() {
    const tavlo::wallpaper::BackendChoice choice = tavlo::wallpaper::chooseBackend();
    std::cout << tavlo::wallpaper::backendName(choice.kind) << ": " << choice.reason << '\n';
    return 0;
}

int setWallpaper(const std::filesystem::path& path) {
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) return fail("no picture file at " + path.string());
    auto backend = tavlo::wallpaper::createSessionBackend();
    backend->SetWallpaper(std::filesystem::absolute(path));
    std::cout << backend->name() << '\n';
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // The D-Bus backends expect an application object.
    QCoreApplication application(argc, argv);
    const std::string_view command = argc > 1 ? argv[1] : "";
    try {
        int status = 1;
        if (command == "backend" && argc == 2)
            status = printBackend();
        else if (command == "set" && argc == 3)
            status = setWallpaper(argv[2]);
        else
            return fail(kUsage);
        if (!std::cout.flush()) return fail("cannot write the output");
        return status;
    } catch (const std::exception& error) {
        return fail(error.what());
    }
}
