#include "Program.h"

#include "FontSubstitutions.h"
#include "HiddenForms.h"
#include "MainTexts.h"
#include "MessageBoxes.h"
#include "QuitOnSignal.h"
#include "SingleInstance.h"
#include "Widgets.h"
#include "uDM.h"
#include "uInfoFrm.h"
#include "uMain.h"
#include "uPicSel.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QLocale>
#include <QQuickWindow>
#include <QTranslator>
#include <QWindow>

#include <chrono>
#include <cstdio>

namespace tavlo::app {

ProgramWindows::ProgramWindows(ProgramFolder folder) : state_(std::move(folder)) {
    dm_ = std::make_unique<TDM>(state_.folder);
    mainFrm_ = std::make_unique<TMainFrm>(state_);
    mainFrm_->attachDataModule(dm_.get());
    deskBGSetFrm_ = std::make_unique<TDeskBGSetFrm>();
    picPreviewFrm_ = std::make_unique<TPicPreviewFrm>();
    // The dialogs belong to the main window, which they are centred on and
    // which deletes them with itself.
    picSelFrm_ = new TPicSelFrm(state_, mainFrm_.get());
    inforFrm_ = new TInforFrm(state_, mainFrm_.get());
    mainFrm_->attachDialogs(picSelFrm_, inforFrm_);
}

ProgramWindows::~ProgramWindows() {
    picPreviewFrm_.reset();
    deskBGSetFrm_.reset();
    mainFrm_.reset();
    dm_.reset();
}

std::vector<QObject*> ProgramWindows::creationOrder() const {
    return {dm_.get(), mainFrm_.get(), deskBGSetFrm_.get(), picPreviewFrm_.get(), picSelFrm_, inforFrm_};
}

namespace {

// The engine's own flags come first, the user's after them (the later wins).
QByteArray engineFlags() {
    QByteArray flags = "--disable-gpu";
    const QByteArray own = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
    // The zygote helpers hand sandboxed renderers a prepared process; without
    // the sandbox they only cost memory.
    if (qEnvironmentVariableIntValue("QTWEBENGINE_DISABLE_SANDBOX") != 0 || own.contains("--no-sandbox"))
        flags += " --no-zygote";
    if (!own.isEmpty()) flags += " " + own;
    return flags;
}

constexpr char kGlIntegration[] = "QT_XCB_GL_INTEGRATION";

// How long a second start waits for the running copy to answer: it may be
// starting itself, on a busy machine.
constexpr std::chrono::seconds kHandOverPatience{20};

}  // namespace

// The two browser views show a small page and a blank editor: the engine and
// the views draw them in software as well as a GPU would, and the process
// loads no OpenGL driver (on machines without a GPU a software one of about
// 40 MiB). Unless the user chose an OpenGL integration for X11, none is
// loaded.
void prepareApplication() {
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    if (!qEnvironmentVariableIsSet(kGlIntegration)) qputenv(kGlIntegration, "none");
    qputenv("QTWEBENGINE_CHROMIUM_FLAGS", engineFlags());
}

void initialiseApplication() {
    // Read by the application object; programs we start (the system browser)
    // must not inherit our choice.
    if (qgetenv(kGlIntegration) == "none") qunsetenv(kGlIntegration);
    QApplication::setApplicationName(QStringLiteral("tavlo"));
    // No display name: on X11 the toolkit would append it to every window
    // title ("提示 — Tavlo助手"), and the titles are the program's own texts.
    QApplication::setWindowIcon(QIcon(renderArtwork(art::icon)));
    widgets::registerFontSubstitutions();
    // The program speaks Chinese whatever the system's locale: dates and
    // numbers, file type names, and the toolkit's own dialogs (open file,
    // message box buttons).
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    auto* translator = new QTranslator(qApp);
    if (translator->load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                         QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(translator);
}

int runProgram(int argc, char** argv, const ProgramFolder& folder, const std::function<void(TMainFrm&)>& shown) {
    prepareApplication();
    QApplication application(argc, argv);
    SingleInstance instance(folder.root());
    if (instance.anotherCopyRuns()) {
        if (instance.handOver(kHandOverPatience)) return 0;
        // Two copies would write the same files: this one starts nothing, and says so.
        initialiseApplication();
        const QString text = texts::anotherCopyNotAnswering();
        std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        widgets::showMessage(nullptr, text);
        return 1;
    }
    quitOnTerminationSignals();
    initialiseApplication();
    folder.makePrivate();
    ProgramWindows windows(folder);
    TMainFrm& main = windows.MainFrm();
    QObject::connect(&instance, &SingleInstance::showRequested, &main, [&main] { bringToFront(main); });
    // Asking once more for the place the window already has makes the window
    // manager report it again: the first report can come before the window
    // manager has placed it, and menus would then open as if the window
    // stood at the screen's corner.
    QObject::connect(&main, &TMainFrm::firstPainted, &main, [&main] {
        if (QWindow* handle = main.windowHandle()) handle->setPosition(main.geometry().topLeft());
    });
    if (shown) QObject::connect(&main, &TMainFrm::firstPainted, &main, [&main, shown] { shown(main); });
    main.show();
    return QApplication::exec();
}

}  // namespace tavlo::app
