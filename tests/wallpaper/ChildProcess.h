#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace tavlo::test {

// A program started by a test, its standard output on a pipe. The destructor
// ends it (SIGTERM, then waits for it).
class ChildProcess {
public:
    // Starts `arguments[0]` looked up in PATH; stderr stays the test's own.
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of output without its line end; nullopt when the output
    // ends or nothing comes within `wait`.
    std::optional<std::string> readLine(std::chrono::milliseconds wait = std::chrono::seconds(20));

    pid_t pid() const { return pid_; }

private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
};

// Checks `condition` every `interval` until it holds; false when it still
// does not after `limit`.
bool waitFor(const std::function<bool()>& condition, std::chrono::milliseconds limit = std::chrono::seconds(10),
             std::chrono::milliseconds interval = std::chrono::milliseconds(50));

// Whether `program` is an executable file in PATH.
bool programInPath(const std::string& program);

// Runs a command line through the shell: its exit status and standard output.
struct CommandResult {
    int status = -1;
    std::string output;
};
CommandResult runCommand(const std::string& commandLine);

// Starts a private Xvfb on a free display with one screen of `screen`
// ("WIDTHxHEIGHTxDEPTH"), `options` before it; its display name (":N"), or
// nullopt when the server did not start.
std::optional<std::string> startXvfb(std::unique_ptr<ChildProcess>& server, const std::string& screen,
                                     const std::vector<std::string>& options = {});

}  // namespace tavlo::test
