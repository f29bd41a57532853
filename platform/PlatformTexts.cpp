#include "PlatformTexts.h"

#include <cerrno>

namespace tavlo {

std::string describeFileFailure(const std::string& action, const std::filesystem::path& file,
                                const std::string& cause) {
    return action + "“" + reinterpret_cast<const char*>(file.u8string().c_str()) + "”失败：" + cause;
}

std::string describeSystemError(int errnoValue) {
    switch (errnoValue) {
    case EACCES:
    case EPERM: return "没有权限";
    case ENOSPC:
#ifdef EDQUOT  // not on Windows
    case EDQUOT:
#endif
        return "磁盘空间不足";
    case EROFS: return "只读文件系统";
    case ENOENT: return "文件不存在";
    case EFBIG: return "文件过大";
    case EISDIR: return "是文件夹，不是文件";
    case ENAMETOOLONG: return "文件名过长";
    case EIO: return "读写磁盘出错";
    case ENOTDIR: return "路径中的一部分不是文件夹";
    case ELOOP: return "符号链接层数过多";
    case EMFILE:
    case ENFILE: return "打开的文件过多";
    case ENOMEM: return "内存不足";
    case EBUSY:
    case ETXTBSY: return "文件正被使用";
    case EEXIST: return "文件已存在";
    case ENXIO:
    case ENODEV: return "设备不存在";
    case EXDEV: return "不能跨磁盘移动";
#ifdef ESTALE
    case ESTALE:
#endif
    case ENOTCONN:
    case ETIMEDOUT: return "网络文件系统无响应";
    case EINVAL: return "文件名无效或文件系统不支持此操作";
    default: return "系统错误（错误号 " + std::to_string(errnoValue) + "）";
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
    case file_type::symlink: return "是符号链接，不是普通文件";
    default: return "不是普通文件";
    }
}

std::string describeChangedWhileRead() {
    return "读取时文件被其他程序改动";
}

}  // namespace tavlo
