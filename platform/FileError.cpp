#include "FileError.h"

#include <cerrno>
#include <cstring>

namespace tavlo {

namespace {

std::string describe(const std::string& action, const std::filesystem::path& file, const std::string& cause) {
    return action + "“" + reinterpret_cast<const char*>(file.u8string().c_str()) + "”失败：" + cause;
}

}  // namespace

std::string describeSystemError(int errnoValue) {
    switch (errnoValue) {
    case EACCES:
    case EPERM: return "没有权限";
    case ENOSPC:
    case EDQUOT: return "磁盘空间不足";
    case EROFS: return "只读文件系统";
    case ENOENT: return "文件不存在";
    case EFBIG: return "文件过大";
    case EISDIR: return "是文件夹，不是文件";
    case ENAMETOOLONG: return "文件名过长";
    default: return std::strerror(errnoValue);
    }
}

std::string describeNotRegularFile(std::filesystem::file_type type) {
    using std::filesystem::file_type;
    switch (type) {
    case file_type::directory: return describeSystemError(EISDIR);
    case file_type::fifo: return "是管道，不是普通文件";
    case file_type::character:
    case file_type::block: return "是设备，不是普通文件";
    case file_type::socket: return "是套接字，不是普通文件";
    default: return "不是普通文件";
    }
}

FileError::FileError(const std::string& action, const std::filesystem::path& file, const std::string& cause)
    : std::runtime_error(describe(action, file, cause)) {}

FileError::FileError(const std::string& action, const std::filesystem::path& file, int errnoValue)
    : std::runtime_error(describe(action, file, describeSystemError(errnoValue))) {}

}  // namespace tavlo
