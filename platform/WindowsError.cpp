#include "WindowsError.h"

#include "FileError.h"

#include <windows.h>

#include <cerrno>

namespace tavlo {

namespace {

int errnoOf(DWORD code) {
    switch (code) {
    case ERROR_ACCESS_DENIED:
    case ERROR_PRIVILEGE_NOT_HELD: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_WRITE_PROTECT: return EROFS;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE: return ENOENT;
    case ERROR_FILE_TOO_LARGE: return EFBIG;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_CRC:
    case ERROR_READ_FAULT:
    case ERROR_WRITE_FAULT:
    case ERROR_IO_DEVICE: return EIO;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_USER_MAPPED_FILE: return EBUSY;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_INVALID_NAME: return EINVAL;
    default: return 0;
    }
}

std::string systemText(DWORD code) {
    wchar_t* text = nullptr;
    const DWORD n =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::string utf8;
    if (n > 0) {
        const int size = WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), nullptr, 0, nullptr, nullptr);
        utf8.resize(static_cast<std::size_t>(size > 0 ? size : 0));
        WideCharToMultiByte(CP_UTF8, 0, text, static_cast<int>(n), utf8.data(), size, nullptr, nullptr);
    }
    LocalFree(text);
    while (!utf8.empty() && (utf8.back() == '\n' || utf8.back() == '\r' || utf8.back() == ' ' || utf8.back() == '.'))
        utf8.pop_back();
    return utf8.empty() ? "系统错误（错误号 " + std::to_string(code) + "）" : utf8;
}

}  // namespace

std::string describeWindowsError(unsigned long code) {
    const int errnoValue = errnoOf(code);
    return errnoValue != 0 ? describeSystemError(errnoValue) : systemText(code);
}

std::string describeLastWindowsError() {
    return describeWindowsError(GetLastError());
}

}  // namespace tavlo
