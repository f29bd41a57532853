#include "Output.h"

#include "FileError.h"

#include <cerrno>

namespace tavlo::cal {
namespace {

[[noreturn]] void fail(int errnoValue) {
    throw OutputError("写入标准输出失败：" + describeOutputError(errnoValue));
}

}  // namespace

std::string describeOutputError(int errnoValue) {
    switch (errnoValue) {
    case EBADF: return "标准输出已关闭";
    case EPIPE: return "读取输出的程序已退出";
    case 0: return "原因不明";
    default: return describeSystemError(errnoValue);
    }
}

void writeOut(std::FILE* out, std::string_view text) {
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), out) != text.size()) fail(errno);
}

void finishOut(std::FILE* out) {
    errno = 0;
    // A write that failed early leaves nothing for the flush to fail on; the
    // stream's error flag remembers it.
    if (std::fflush(out) != 0 || std::ferror(out)) fail(errno);
}

}  // namespace tavlo::cal
