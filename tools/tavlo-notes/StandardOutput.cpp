#include "StandardOutput.h"

#include "FileError.h"

#include <cerrno>
#include <cstdio>

#ifndef _WIN32
#include <fcntl.h>
#include <unistd.h>
#endif

namespace {

bool outputClosed = false;
int firstError = 0;

void noteError() {
    if (firstError == 0) firstError = errno != 0 ? errno : EIO;
}

}  // namespace

void StandardOutput::guardClosedStreams() {
#ifndef _WIN32
    for (int stream = 0; stream <= 2; ++stream) {
        if (::fcntl(stream, F_GETFD) != -1 || errno != EBADF) continue;
        if (stream == 1) outputClosed = true;
        const int placeholder = ::open("/dev/null", stream == 0 ? O_RDONLY : O_WRONLY);
        if (placeholder >= 0 && placeholder != stream) {
            ::dup2(placeholder, stream);
            ::close(placeholder);
        }
    }
#endif
}

void StandardOutput::write(const QByteArray& bytes) {
    if (outputClosed || firstError != 0 || bytes.isEmpty()) return;
    errno = 0;
    if (std::fwrite(bytes.constData(), 1, static_cast<std::size_t>(bytes.size()), stdout) !=
        static_cast<std::size_t>(bytes.size()))
        noteError();
}

void StandardOutput::line(const QString& text) {
    QByteArray bytes = text.toUtf8();
    bytes += '\n';
    write(bytes);
}

std::string StandardOutput::finish() {
    if (outputClosed) return "写入标准输出失败：标准输出已关闭";
    errno = 0;
    if (firstError == 0 && (std::fflush(stdout) != 0 || std::ferror(stdout))) noteError();
    if (firstError == 0) return {};
    if (firstError == EPIPE || firstError == EBADF) return "写入标准输出失败：标准输出已关闭";
    return "写入标准输出失败：" + tavlo::describeSystemError(firstError);
}
