#pragma once
#include "WallpaperBackend.h"

#include <memory>
#include <string>

namespace tavlo::wallpaper {

// The Windows calls the backend makes, one method a call, with the arguments
// the backend passes; each throws WallpaperError when the call fails. The
// real ones exist only in a Windows build; tests record them.
class WindowsDesktopCalls {
public:
    // SystemParametersInfoW's flags, with their Windows values.
    static constexpr unsigned kUpdateIniFile = 0x01;  // SPIF_UPDATEINIFILE
    static constexpr unsigned kSendChange = 0x02;     // SPIF_SENDCHANGE

    virtual ~WindowsDesktopCalls() = default;
    // RegSetValueExW of a REG_SZ value under HKEY_CURRENT_USER\Control Panel\Desktop.
    virtual void setDesktopValue(const std::wstring& name, const std::wstring& value) = 0;
    // SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, path, flags).
    virtual void setDeskWallpaper(const std::wstring& path, unsigned flags) = 0;
};

// The calls of the running Windows (Windows builds only).
std::unique_ptr<WindowsDesktopCalls> systemDesktopCalls();

// Windows: writes "Wallpaper" (the full path) and "WallpaperStyle" ("2",
// stretch) under HKEY_CURRENT_USER\Control Panel\Desktop, then hands the
// same full path to the system, which stores it and tells every window.
class WindowsWallpaper : public WallpaperBackend {
public:
    explicit WindowsWallpaper(std::unique_ptr<WindowsDesktopCalls> calls) : calls_(std::move(calls)) {}
    std::string name() const override { return "windows"; }
    void SetWallpaper(const std::filesystem::path& path) override;

private:
    std::unique_ptr<WindowsDesktopCalls> calls_;
};

}  // namespace tavlo::wallpaper
