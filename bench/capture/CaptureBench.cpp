// The screen capture's cost, on Qt's offscreen platform with one screen of
// the size given by --screen=WxH (default 1920x1080):
//   BM_PostedMessageToCaptureShown  from WM_COPYSCREEN posted to the capture
//       window shown and painted, without the two fixed waits, the screen
//       copied from a fixed picture (counter added_MiB: resident memory the
//       first capture window adds while open)
#include "CaptureController.h"
#include "CopyScreenFrm.h"
#include "FixedScreenCopy.h"
#include "Program.h"
#include "TempFolder.h"
#include "uMain.h"

#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include <malloc.h>
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
    tavlo::CaptureController& capture = main.capture();
    capture.setWaits(std::chrono::milliseconds(10), std::chrono::milliseconds(0));
    tavlo::screencopy::ScreenPicture screen = tavlo::screencopy::blackPicture(screenWidth, screenHeight);
    for (std::size_t i = 0; i < screen.pixels.size(); ++i) screen.pixels[i] = 0xFF000000u | (i * 2654435761u >> 8);
    capture.setScreenCopy(std::make_unique<tavlo::screencopy::FixedScreenCopy>(std::move(screen)));
    tavlo::TCopyScreenForm* form = nullptr;
    QEventLoop opened;
    QObject::connect(&capture, &tavlo::CaptureController::windowOpened, &opened, [&](tavlo::TCopyScreenForm* shown) {
        form = shown;
        opened.quit();
    });

    // Measured on the first capture of the process, before freed memory
    // can be reused.
    static double added = -1;
    for (auto _ : state) {
        const bool measure = added < 0;
        if (measure) ::malloc_trim(0);
        const double before = measure ? residentMiB() : 0;
        form = nullptr;
        QCoreApplication::postEvent(&main, new QEvent(tavlo::kCopyScreenEvent));
        opened.exec();  // the copy ends from the event loop
        if (!form) {
            state.SkipWithError("no capture window");
            break;
        }
        form->repaint();  // painted once, as the user first sees it
        state.PauseTiming();
        if (measure) added = residentMiB() - before;
        form->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["added_MiB"] = added;
}
BENCHMARK(BM_PostedMessageToCaptureShown)->Unit(benchmark::kMillisecond)->MinTime(2.0);

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
