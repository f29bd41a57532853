#include "WindowsScreenCopy.h"

#include <windows.h>

#include <cstring>
#include <memory>
#include <type_traits>

namespace tavlo::screencopy {
namespace {

struct ScreenDcReleaser {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};

using ScreenDc = std::unique_ptr<std::remove_pointer_t<HDC>, ScreenDcReleaser>;
using MemoryDc = std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter>;
using Bitmap = std::unique_ptr<std::remove_pointer_t<HBITMAP>, ObjectDeleter>;

std::string lastError(const char* what) {
    return std::string("windows: ") + what + " failed (error " + std::to_string(GetLastError()) + ")";
}

}  // namespace

ScreenPicture WindowsScreenCopy::CopyScreen(int width, int height) {
    ScreenPicture picture = blackPicture(width, height);
    ScreenDc screen(GetDC(nullptr));
    if (!screen) throw ScreenCopyError(lastError("GetDC"));
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    if (!memory) throw ScreenCopyError(lastError("CreateCompatibleDC"));

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down rows, as ScreenPicture keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Bitmap bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap || !bits) throw ScreenCopyError(lastError("CreateDIBSection"));

    const HGDIOBJ previous = SelectObject(memory.get(), bitmap.get());
    const BOOL copied = BitBlt(memory.get(), 0, 0, width, height, screen.get(), 0, 0, SRCCOPY | CAPTUREBLT);
    SelectObject(memory.get(), previous);
    if (!copied) throw ScreenCopyError(lastError("BitBlt"));
    GdiFlush();

    // A 32-bit DIB is blue, green, red, unused: the ScreenPicture layout once
    // the unused byte is set.
    std::memcpy(picture.pixels.data(), bits, picture.pixels.size() * sizeof(std::uint32_t));
    for (std::uint32_t& pixel : picture.pixels) pixel |= 0xFF000000u;
    return picture;
}

}  // namespace tavlo::screencopy
