#pragma once
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace tavlo::test {

// A fresh folder under the system's temporary folder, removed with the object.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(std::string_view name) const { return path_ / name; }

private:
    std::filesystem::path path_;
};

std::string readFileBytes(const std::filesystem::path& path);
void writeFileBytes(const std::filesystem::path& path, std::string_view bytes);

// Sets a file's times an hour back, as a file saved earlier has them: a
// rewrite now then shows in its time, whatever the clock's grain.
void makeFileAnHourOld(const std::filesystem::path& path);
// Writes `bytes` at `offset` of an existing file in place, as another
// program would while we read it.
void rewriteInPlace(const std::filesystem::path& path, std::uint64_t offset, std::string_view bytes);

}  // namespace tavlo::test
