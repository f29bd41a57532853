#include "ChildProcess.h"

#include <thread>

#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <stdexcept>

namespace tavlo::test {

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) {
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) throw std::runtime_error("pipe failed");
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    if (pid_ > 0) {
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
    }
    if (output_ >= 0) close(output_);
}

std::optional<std::string> ChildProcess::readLine(std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    for (;;) {
        if (const std::size_t end = buffered_.find('\n'); end != std::string::npos) {
            std::string line = buffered_.substr(0, end);
            buffered_.erase(0, end + 1);
            return line;
        }
        const auto left =
            std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        pollfd descriptor{output_, POLLIN, 0};
        if (left.count() <= 0 || poll(&descriptor, 1, static_cast<int>(left.count())) <= 0) return std::nullopt;
        char chunk[4096];
        const ssize_t n = read(output_, chunk, sizeof(chunk));
        if (n <= 0) return std::nullopt;
        buffered_.append(chunk, static_cast<std::size_t>(n));
    }
}

bool programInPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::istringstream folders(path ? path : "");
    for (std::string folder; std::getline(folders, folder, ':');)
        if (!folder.empty() && access((std::filesystem::path(folder) / program).c_str(), X_OK) == 0) return true;
    return false;
}

bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit,
             std::chrono::milliseconds interval) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) return false;
        std::this_thread::sleep_for(interval);
    }
    return true;
}

CommandResult runCommand(const std::string& commandLine) {
    CommandResult result;
    FILE* pipe = popen(commandLine.c_str(), "r");
    if (!pipe) return result;
    char chunk[4096];
    for (std::size_t n; (n = fread(chunk, 1, sizeof(chunk), pipe)) > 0;) result.output.append(chunk, n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::optional<std::string> startXvfb(std::unique_ptr<ChildProcess>& server, const std::string& screen,
                                     const std::vector<std::string>& options) {
    std::vector<std::string> arguments{"Xvfb", "-displayfd", "1", "-nolisten", "tcp"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    arguments.insert(arguments.end(), {"-screen", "0", screen});
    server = std::make_unique<ChildProcess>(arguments);
    const std::optional<std::string> number = server->readLine();
    if (!number) return std::nullopt;
    return ":" + *number;
}

}  // namespace tavlo::test
