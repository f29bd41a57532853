// The real Windows calls of the Windows wallpaper backend.
#include "WallpaperTexts.h"
#include "WindowsWallpaper.h"

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <string>

namespace tavlo::wallpaper {
namespace {

static_assert(WindowsDesktopCalls::kUpdateIniFile == SPIF_UPDATEINIFILE);
static_assert(WindowsDesktopCalls::kSendChange == SPIF_SENDCHANGE);

std::string systemMessage(DWORD code) {
    char* text = nullptr;
    const DWORD length =
        FormatMessageA(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<char*>(&text), 0, nullptr);
    std::string message = length ? std::string(text, length) : "error " + std::to_string(code);
    if (text) LocalFree(text);
    while (!message.empty() && (message.back() == '\r' || message.back() == '\n' || message.back() == ' '))
        message.pop_back();
    return message;
}

std::string narrow(const std::wstring& text) {
    return std::string(text.begin(), text.end());  // value names are ASCII
}

class SystemDesktopCalls : public WindowsDesktopCalls {
public:
    void setDesktopValue(const std::wstring& name, const std::wstring& value) override {
        // Opened for writing only; a missing key is an error, not created.
        HKEY key = nullptr;
        LSTATUS status = RegOpenKeyExW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", 0, KEY_SET_VALUE, &key);
        if (status != ERROR_SUCCESS)
            throw WallpaperError(texts::registryUnwritable(),
                                 "windows: cannot open the registry key Control Panel\\Desktop: " +
                                     systemMessage(static_cast<DWORD>(status)));
        const DWORD bytes = static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t));
        status = RegSetValueExW(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            throw WallpaperError(texts::registryUnwritable(), "windows: cannot write the registry value " +
                                                                  narrow(name) + ": " +
                                                                  systemMessage(static_cast<DWORD>(status)));
    }

    void setDeskWallpaper(const std::wstring& path, unsigned flags) override {
        std::wstring argument = path;  // the call takes a non-const pointer
        if (!SystemParametersInfoW(SPI_SETDESKWALLPAPER, 0, argument.data(), flags))
            throw WallpaperError(texts::systemRefused(),
                                 "windows: the system did not take the wallpaper: " + systemMessage(GetLastError()));
    }
};

}  // namespace

std::unique_ptr<WindowsDesktopCalls> systemDesktopCalls() {
    return std::make_unique<SystemDesktopCalls>();
}

}  // namespace tavlo::wallpaper
