#include "StandardOutput.h"

#include "FileError.h"
#include "ToolDescription.h"

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace tavlo::tool {
namespace {

[[noreturn]] void fail(int errnoValue) {
    throw Failure("写入标准输出失败：" + describeOutputError(errnoValue));
}

}  // namespace

void guardClosedStreams() {
#ifndef _WIN32
    // Opened for reading only: a write to a closed stream still fails (EBADF)
    // and is reported as one.
    for (int stream = 0; stream <= 2; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
        const int placeholder = ::open("/dev/null", O_RDONLY);
        if (placeholder >= 0 && placeholder != stream) {
            ::dup2(placeholder, stream);
            ::close(placeholder);
        }
    }
#endif
}

std::string describeOutputError(int errnoValue) {
    switch (errnoValue) {
    case EBADF: return "标准输出已关闭";
    case EPIPE: return "读取输出的程序已退出";
    case 0: return "原因不明";
    default: return describeSystemError(errnoValue);
    }
}

void writeOut(std::string_view bytes) {
    if (bytes.empty()) return;
    errno = 0;
    if (std::fwrite(bytes.data(), 1, bytes.size(), stdout) != bytes.size()) fail(errno);
}

void writeLine(std::string_view text) {
    std::string line(text);
    line += '\n';
    writeOut(line);
}

void finishOut() {
    errno = 0;
    // A write that failed early leaves nothing for the flush to fail on; the
    // stream's error flag remembers it.
    if (std::fflush(stdout) != 0 || std::ferror(stdout)) fail(errno);
}

void writeError(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stderr);
    std::fflush(stderr);
}

}  // namespace tavlo::tool
