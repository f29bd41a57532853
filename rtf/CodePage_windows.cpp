#include "CodePage.h"

#include <windows.h>

namespace tavlo::rtf {

namespace {

UINT windowsCodePage(int codePage) {
    return codePage == kCodePageGbk ? 54936u : static_cast<UINT>(codePage);
}

}  // namespace

QString decodeCodePage(int codePage, QByteArrayView bytes) {
    if (bytes.isEmpty()) return {};
    const UINT cp = windowsCodePage(codePage);
    const int n = MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
    if (n <= 0) return asciiOrReplacement(bytes);
    QString text(n, Qt::Uninitialized);
    MultiByteToWideChar(cp, 0, bytes.data(), static_cast<int>(bytes.size()), reinterpret_cast<wchar_t*>(text.data()),
                        n);
    return text;
}

QByteArray encodeCodePage(int codePage, QStringView text, bool& ok) {
    ok = false;
    if (text.isEmpty()) {
        ok = true;
        return {};
    }
    const UINT cp = windowsCodePage(codePage);
    BOOL usedDefault = FALSE;
    // The code pages that refuse the flag (UTF-8, GB18030) map every character anyway.
    BOOL* check = cp == CP_UTF8 || cp == 54936u ? nullptr : &usedDefault;
    const auto* wide = reinterpret_cast<const wchar_t*>(text.utf16());
    const int n = WideCharToMultiByte(cp, 0, wide, static_cast<int>(text.size()), nullptr, 0, nullptr, check);
    if (n <= 0 || usedDefault) return {};
    QByteArray bytes(n, Qt::Uninitialized);
    WideCharToMultiByte(cp, 0, wide, static_cast<int>(text.size()), bytes.data(), n, nullptr, check);
    ok = true;
    return bytes;
}

}  // namespace tavlo::rtf
