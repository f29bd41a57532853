#include "WindowsWallpaper.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace tavlo::wallpaper {
namespace {

std::string systemMessage(LSTATUS code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

// Closes the key however the writes end.
class DesktopKey {
public:
    DesktopKey() {
        // Opened for writing only; a missing key is an error, not created.
        const LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key_);
        if (status != ERROR_SUCCESS)
            throw WallpaperError("windows: cannot open the registry key Control Panel\\Desktop: " +
                                 systemMessage(status));
    }
    ~DesktopKey() { RegCloseKey(key_); }
    DesktopKey(const DesktopKey&) = delete;
    DesktopKey& operator=(const DesktopKey&) = delete;

    void writeString(const wchar_t* name, const std::wstring& value, const char* nameForMessage) {
        const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        const LSTATUS status =
            RegSetValueExW(key_, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
        if (status != ERROR_SUCCESS)
            throw WallpaperError(std::string("windows: cannot write the registry value ") + nameForMessage + ": " +
                                 systemMessage(status));
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace

void WindowsWallpaper::SetWallpaper(const std::filesystem::path& path) {
    {
        DesktopKey key;
        key.writeString(L"Wallpaper", path.wstring(), "Wallpaper");
        key.writeString(L"WallpaperStyle", L"2", "WallpaperStyle");
    }
    // Only after both values are written. The system reads the picture from
    // the "Wallpaper" value and loads the file again on every call, so the
    // same path shows the new picture. Its result is not examined.
    SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, nullptr, SPIF_UPDATEINIFILE);
}

}  // namespace tavlo::wallpaper
