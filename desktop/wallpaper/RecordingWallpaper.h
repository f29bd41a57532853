#pragma once
#include "WallpaperBackend.h"
#include "WindowsWallpaper.h"

#include <memory>
#include <optional>
#include <vector>

namespace tavlo::wallpaper {

// Stands in for the desktop in tests of the commands that set the wallpaper:
// remembers every path it was given, in order, and can be told to fail.
class RecordingWallpaper : public WallpaperBackend {
public:
    std::string name() const override { return "recording"; }
    void SetWallpaper(const std::filesystem::path& path) override;
    bool perMonitor() const override { return perMonitor_; }
    void SetMonitorWallpapers(const std::vector<MonitorPicture>& pictures) override;
    void SetSpannedWallpaper(const std::filesystem::path& path) override;

    // Stands in for a desktop that takes one picture per monitor, or not.
    void setPerMonitor(bool perMonitor) { perMonitor_ = perMonitor; }

    // The paths of the calls so far, failed calls included.
    const std::vector<std::filesystem::path>& calls() const { return calls_; }
    // The same for the calls with a picture per monitor, and across them.
    const std::vector<std::vector<MonitorPicture>>& monitorCalls() const { return monitorCalls_; }
    const std::vector<std::filesystem::path>& spannedCalls() const { return spannedCalls_; }

    // From now on every call throws WallpaperError with this text; nullopt
    // lets calls succeed again.
    void failWith(std::optional<std::string> message) { failure_ = std::move(message); }

private:
    std::vector<std::filesystem::path> calls_;
    std::vector<std::vector<MonitorPicture>> monitorCalls_;
    std::vector<std::filesystem::path> spannedCalls_;
    bool perMonitor_ = false;
    std::optional<std::string> failure_;
};

// Stands in for Windows under the Windows backend: records every call with
// the arguments the backend passed, in order, and can be told to fail one.
class RecordingWindowsCalls : public WindowsDesktopCalls {
public:
    struct Call {
        std::string function;  // "RegSetValueExW" or "SystemParametersInfoW"
        std::wstring name;     // the value's name (registry writes)
        std::wstring value;    // the value, or the path handed to the system
        unsigned flags = 0;    // SystemParametersInfoW only
        friend bool operator==(const Call&, const Call&) = default;
    };
    using Log = std::shared_ptr<std::vector<Call>>;

    explicit RecordingWindowsCalls(Log log) : log_(std::move(log)) {}
    void setDesktopValue(const std::wstring& name, const std::wstring& value) override;
    void setDeskWallpaper(const std::wstring& path, unsigned flags) override;

    // Calls of this function throw WallpaperError with `message` (after being recorded).
    void failCallsTo(std::string function, std::string message) {
        failing_ = std::move(function);
        message_ = std::move(message);
    }

private:
    void record(Call call);

    Log log_;
    std::string failing_, message_;
};

}  // namespace tavlo::wallpaper
