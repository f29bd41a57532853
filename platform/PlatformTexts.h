#pragma once
#include <filesystem>
#include <string>

// Every text of the platform layer that a user may see: what was being done
// to a file, and the causes of failures, in Chinese.
namespace tavlo {

// What was being done ("读取文件“…”失败：…").
inline constexpr const char* kReadFileAction = "读取文件";
inline constexpr const char* kWriteFileAction = "写入文件";
inline constexpr const char* kCreateFolderAction = "创建文件夹";

// "ACTION“FILE”失败：CAUSE".
std::string describeFileFailure(const std::string& action, const std::filesystem::path& file, const std::string& cause);

// The cause behind a system error number in the user's words: the causes a
// user meets (no permission, a full disk, ...) in words, any other by its
// error number.
std::string describeSystemError(int errnoValue);

// The cause when a file to read or replace is not a regular file: what it is.
std::string describeNotRegularFile(std::filesystem::file_type type);

// The cause when a file changed (cut short, rewritten) while it was read.
std::string describeChangedWhileRead();

// Causes of text that cannot be converted to or from GB18030.
inline constexpr const char* kCodePageUnavailable = "系统不能转换 GB18030 文字";
inline constexpr const char* kInvalidCharacter = "文字中有无效的字符";

}  // namespace tavlo
