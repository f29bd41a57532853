// Start-up time and resting memory of the whole program, measured on
// complete processes: each run starts the program in a fresh program
// folder, as a user's first start would.
//   startup  time from fork to the main window shown and painted
//            (counter page_ms: until the web panel's start page has loaded)
//   memory   PSS of the process and all its helpers (the browser engine's
//            processes) once the start page has loaded and things settled
//   insert   a 6000 × 4000 JPEG inserted once the start page has loaded:
//            the main process's peak resident size over the whole run
//            (peak_MB) and its resident size with the picture shown (shown_MB)
//   current_picture/N  a small file describing a 16000 × 8000 picture as
//            the current picture of the last run (N: 0 run-length BMP,
//            1 arithmetic JPEG, 2 progressive arithmetic JPEG, 3 GIF,
//            4 interlaced RGBA PNG; 5 none, for comparison): the main
//            process's peak resident size once the picture is shown and the
//            start page has loaded (peak_MiB), its resident size then
//            (shown_MiB), and the size of the picture at 24 bits (picture_MiB)
#include "PictureBombs.h"
#include "PictureEncoders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>

#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

class ProgramRun {
public:
    // `picture` is inserted once the start page has loaded; `current` is the
    // current picture of the last run.
    explicit ProgramRun(const fs::path& picture = {}, const fs::path& current = {}) {
        folder_ = fs::temp_directory_path() / ("tavlo-bench-" + std::to_string(::getpid()));
        fs::remove_all(folder_);
        fs::create_directories(folder_ / "Data");
        fs::create_directory_symlink(TAVLO_SITE_DIR, folder_ / "site");
        if (!current.empty()) std::ofstream(folder_ / "Data/tmppic.ini") << current.string() << "\r\n";
        if (::pipe(pipe_) != 0) throw std::runtime_error("pipe");
        start_ = Clock::now();
        pid_ = ::fork();
        if (pid_ == 0) {
            ::setpgid(0, 0);  // one group: the engine's helpers end with it
            ::close(pipe_[0]);
            const std::string fd = std::to_string(pipe_[1]);
            if (picture.empty()) {
                ::execl(TAVLO_PROBE, TAVLO_PROBE, folder_.c_str(), fd.c_str(), static_cast<char*>(nullptr));
            } else {
                ::execl(TAVLO_PROBE, TAVLO_PROBE, folder_.c_str(), fd.c_str(), picture.c_str(),
                        static_cast<char*>(nullptr));
            }
            ::_exit(127);
        }
        ::setpgid(pid_, pid_);
        ::close(pipe_[1]);
    }

    ~ProgramRun() {
        ::kill(-pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        ::kill(-pid_, SIGKILL);
        ::close(pipe_[0]);
        fs::remove_all(folder_);
    }

    // Seconds from the start until the program reports `what` (now, if it
    // already has).
    double secondsUntil(char what) {
        while (seen_.find(what) == std::string::npos) {
            char got = 0;
            pollfd p{pipe_[0], POLLIN, 0};
            if (::poll(&p, 1, 60000) <= 0 || ::read(pipe_[0], &got, 1) != 1) {
                throw std::runtime_error(std::string("the program did not report '") + what + "'");
            }
            seen_ += got;
        }
        return std::chrono::duration<double>(Clock::now() - start_).count();
    }

    // Proportional set size of every process in the program's group, bytes.
    double groupPss() const {
        double total = 0;
        for (const auto& entry : fs::directory_iterator("/proc")) {
            const std::string name = entry.path().filename();
            if (name.find_first_not_of("0123456789") != std::string::npos) continue;
            if (::getpgid(std::stoi(name)) != pid_) continue;
            std::ifstream rollup(entry.path() / "smaps_rollup");
            std::string line;
            while (std::getline(rollup, line)) {
                if (line.rfind("Pss:", 0) == 0) total += std::stod(line.substr(4)) * 1024;
            }
        }
        return total;
    }

    // A "Vm…:" value of the main process's status, in bytes.
    double mainProcess(const std::string& field) const {
        std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
        std::string line;
        while (std::getline(status, line)) {
            if (line.rfind(field + ":", 0) == 0) return std::stod(line.substr(field.size() + 1)) * 1024;
        }
        return 0;
    }

private:
    fs::path folder_;
    int pipe_[2] = {-1, -1};
    pid_t pid_ = -1;
    Clock::time_point start_;
    std::string seen_;  // what the program has reported
};

void startup(benchmark::State& state) {
    double pageSeconds = 0;
    for (auto _ : state) {
        ProgramRun run;
        state.SetIterationTime(run.secondsUntil('p'));
        pageSeconds += run.secondsUntil('l');
    }
    state.counters["page_ms"] = benchmark::Counter(1000 * pageSeconds / state.iterations());
}
BENCHMARK(startup)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(1)
    ->Repetitions(9)
    ->ReportAggregatesOnly(true);

void memory(benchmark::State& state) {
    for (auto _ : state) {
        ProgramRun run;
        run.secondsUntil('l');
        std::this_thread::sleep_for(std::chrono::seconds(3));
        state.counters["PSS_MiB"] = benchmark::Counter(run.groupPss() / (1024.0 * 1024.0));
    }
}
BENCHMARK(memory)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

void insert(benchmark::State& state) {
    const fs::path jpeg = fs::temp_directory_path() / ("tavlo-bench-" + std::to_string(::getpid()) + ".jpg");
    {
        const tavlo::test::Bytes bytes = tavlo::test::encodeJpeg(tavlo::test::gradientPicture(6000, 4000), 90);
        std::ofstream(jpeg, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    for (auto _ : state) {
        ProgramRun run(jpeg);
        run.secondsUntil('i');
        std::this_thread::sleep_for(std::chrono::seconds(2));  // shown and painted
        state.counters["peak_MB"] = benchmark::Counter(run.mainProcess("VmHWM") / 1e6);
        state.counters["shown_MB"] = benchmark::Counter(run.mainProcess("VmRSS") / 1e6);
    }
    fs::remove(jpeg);
}
BENCHMARK(insert)->Unit(benchmark::kSecond)->Iterations(1)->Repetitions(3)->ReportAggregatesOnly(true);

tavlo::test::Bytes bomb(int which) {
    switch (which) {
    case 0: return tavlo::bench::runLengthBmp();
    case 1: return tavlo::bench::arithmeticJpeg(false);
    case 2: return tavlo::bench::arithmeticJpeg(true);
    case 3: return tavlo::bench::oneColourGif();
    case 4: return tavlo::bench::interlacedRgbaPng();
    default: return {};
    }
}

void current_picture(benchmark::State& state) {
    const fs::path file = fs::temp_directory_path() / ("tavlo-bench-" + std::to_string(::getpid()) + ".picture");
    {
        const tavlo::test::Bytes bytes = bomb(static_cast<int>(state.range(0)));
        std::ofstream(file, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
    const bool none = state.range(0) == 5;
    for (auto _ : state) {
        ProgramRun run({}, none ? fs::path() : file);
        if (!none) run.secondsUntil('c');
        run.secondsUntil('l');
        state.counters["peak_MiB"] = benchmark::Counter(run.mainProcess("VmHWM") / (1024.0 * 1024.0));
        state.counters["shown_MiB"] = benchmark::Counter(run.mainProcess("VmRSS") / (1024.0 * 1024.0));
    }
    state.counters["picture_MiB"] =
        benchmark::Counter(3.0 * tavlo::bench::kBombWidth * tavlo::bench::kBombHeight / (1024.0 * 1024.0));
    fs::remove(file);
}
BENCHMARK(current_picture)->DenseRange(0, 5)->Unit(benchmark::kSecond)->Iterations(1);

}  // namespace

BENCHMARK_MAIN();
