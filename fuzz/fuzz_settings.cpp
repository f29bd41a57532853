// Any file content must either read as lines or be rejected with FileError;
// lines that read must write back and read again unchanged.
#include "FileError.h"
#include "SettingsFile.h"

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::filesystem::path path =
        std::filesystem::temp_directory_path() / ("tavlo-fuzz-settings-" + std::to_string(::getpid()) + ".ini");
    if (FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    }
    try {
        const auto lines = tavlo::readSettingsLines(path);
        if (!lines) __builtin_trap();
        tavlo::writeSettingsLines(path, *lines);
        if (tavlo::readSettingsLines(path) != lines) __builtin_trap();
    } catch (const tavlo::FileError&) {}
    for (std::size_t i = 0; i < size && i < 16; ++i)
        tavlo::parseInteger(std::string_view(reinterpret_cast<const char*>(data), i));
    return 0;
}
