// The screen capture's cost, on Qt's offscreen platform with one screen of
// the size given by --screen=WxH (default 1920x1080):
//   BM_PostedMessageToCaptureShown  from WM_COPYSCREEN posted to the capture
//       window shown and painted, without the two fixed waits, the screen
//       copied from a fixed picture (counter added_MiB: resident memory the
//       open capture window adds)
//   BM_X11RootCopy  the X11 backend copying the root window of an Xvfb of the
//       same size (skipped without Xvfb)
#include "CopyScreenFrm.h"
#include "FixedScreenCopy.h"
#include "MainCapture.h"
#include "Program.h"
#include "TempFolder.h"
#include "X11ScreenCopy.h"
#include "uMain.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>
#include <csignal>

namespace {

int screenWidth = 1920, screenHeight = 1080;

double residentMiB() {
    long pages = 0, resident = 0;
    std::ifstream("/proc/self/statm") >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / (1024.0 * 1024.0);
}

void BM_PostedMessageToCaptureShown(benchmark::State& state) {
    tavlo::test::TempFolder folder;
    tavlo::GlobalState global{tavlo::ProgramFolder(folder.path())};
    tavlo::app::TMainFrm main(global);
    main.show();
    QCoreApplication::processEvents();
    tavlo::app::CaptureParts& parts = main.captureParts();
    parts.beforeCopy = std::chrono::milliseconds(0);
    tavlo::screencopy::ScreenPicture screen = tavlo::screencopy::blackPicture(screenWidth, screenHeight);
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) screen.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    parts.screenCopy = std::make_unique<tavlo::screencopy::FixedScreenCopy>(std::move(screen));

    double added = 0;
    for (auto _ : state) {
        const double before = residentMiB();
        QCoreApplication::postEvent(&main, new QEvent(QEvent::Type(5129)));
        QCoreApplication::sendPostedEvents(&main, QEvent::Type(5129));
        tavlo::TCopyScreenForm* form = parts.window;
        if (!form) {
            state.SkipWithError("no capture window");
            break;
        }
        form->repaint();  // painted once, as the user first sees it
        state.PauseTiming();
        added = residentMiB() - before;
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["added_MiB"] = added;
}
BENCHMARK(BM_PostedMessageToCaptureShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// An Xvfb of the screen's size, for as long as the object lives.
class Xvfb {
public:
    Xvfb() {
        int fds[2];
        if (::pipe(fds) != 0) return;
        pid_ = ::fork();
        if (pid_ == 0) {
            ::dup2(fds[1], 3);
            const std::string size = std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + "x24";
            ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0", size.c_str(),
                     static_cast<char*>(nullptr));
            ::_exit(127);
        }
        ::close(fds[1]);
        char buffer[16] = {};
        const ssize_t got = ::read(fds[0], buffer, sizeof buffer - 1);
        ::close(fds[0]);
        if (got > 0) display_ = ":" + std::string(buffer, static_cast<std::size_t>(got - 1));
    }
    ~Xvfb() {
        if (pid_ > 0) {
            ::kill(pid_, SIGTERM);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    const std::string& display() const { return display_; }

private:
    pid_t pid_ = -1;
    std::string display_;
};

void BM_X11RootCopy(benchmark::State& state) {
    Xvfb server;
    if (server.display().empty()) {
        state.SkipWithError("Xvfb did not start");
        return;
    }
    tavlo::screencopy::X11ScreenCopy copy(server.display());
    for (auto _ : state) benchmark::DoNotOptimize(copy.CopyScreen(screenWidth, screenHeight));
}
BENCHMARK(BM_X11RootCopy)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    std::vector<char*> args;
    for (int i = 0; i < argc; ++i) {
        if (std::sscanf(argv[i], "--screen=%dx%d", &screenWidth, &screenHeight) == 2) continue;
        args.push_back(argv[i]);
    }
    QTemporaryDir configDir;
    const QString configPath = configDir.filePath(QStringLiteral("screen.json"));
    QFile config(configPath);
    if (!config.open(QIODevice::WriteOnly)) return 2;
    config.write(QStringLiteral(R"({"screens": [{"name": "bench", "x": 0, "y": 0, "width": %1, "height": %2,
        "logicalDpi": 96, "logicalBaseDpi": 96, "dpr": 1}]})")
                     .arg(screenWidth)
                     .arg(screenHeight)
                     .toUtf8());
    config.close();
    std::string platformFlag = "-platform";
    std::string platform = "offscreen:configfile=" + QDir::toNativeSeparators(configPath).toStdString();
    std::vector<char*> qtArgs = {args[0], platformFlag.data(), platform.data(), nullptr};
    int qtArgc = 3;
    tavlo::app::prepareApplication();
    QApplication application(qtArgc, qtArgs.data());
    tavlo::app::initialiseApplication();

    int benchArgc = static_cast<int>(args.size());
    benchmark::Initialize(&benchArgc, args.data());
    benchmark::AddCustomContext("screen", std::to_string(screenWidth) + "x" + std::to_string(screenHeight));
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
