// The program itself, started by the start-up benchmark: it runs exactly as
// tavlo does in the program folder given as its first argument, and tells
// the benchmark through the file descriptor given as its second when the
// main window has been shown and painted ("p"), when the current picture of
// the last run has been read and shown ("c", only when there is one) and when
// the web panel has loaded its start page ("l"). Given a picture as its third argument, it
// then inserts it as the insert command would with that file chosen, and
// says "i" when the command has returned.
#include "Program.h"
#include "WebPanel.h"
#include "uMain.h"

#include <QToolButton>

#include <unistd.h>
#include <cstdlib>
#include <filesystem>
#include <vector>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const tavlo::ProgramFolder folder{argv[1]};
    const int report = std::atoi(argv[2]);
    const std::filesystem::path picture = argc > 3 ? argv[3] : "";
    return tavlo::app::runProgram(1, argv, folder, [report, picture](tavlo::app::TMainFrm& window) {
        (void)!write(report, "p", 1);
        if (window.shownPicture()) {
            (void)!write(report, "c", 1);
        } else {
            QObject::connect(&window, &tavlo::app::TMainFrm::currentPictureLoaded, &window,
                             [report] { (void)!write(report, "c", 1); });
        }
        QObject::connect(&window.webPanel(), &tavlo::app::WebPanel::linkLoadFinished, &window,
                         [report, picture, &window] {
                             (void)!write(report, "l", 1);
                             if (picture.empty()) return;
                             window.setChooseFiles([picture](QWidget*) { return std::vector{picture}; });
                             window.findChild<QToolButton*>(QStringLiteral("btnInsertPic"))->click();
                             (void)!write(report, "i", 1);
                         });
    });
}
