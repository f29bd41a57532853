// The program itself, started by the start-up benchmark: it runs exactly as
// tavlo does in the program folder given as its first argument, and tells
// the benchmark through the file descriptor given as its second when the
// main window has been shown and painted ("p") and when the web panel has
// loaded its start page ("l").
#include "Program.h"
#include "WebPanel.h"
#include "uMain.h"

#include <unistd.h>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const tavlo::ProgramFolder folder{argv[1]};
    const int report = std::atoi(argv[2]);
    return tavlo::app::runProgram(1, argv, folder, [report](tavlo::app::TMainFrm& window) {
        (void)!write(report, "p", 1);
        QObject::connect(&window.webPanel(), &tavlo::app::WebPanel::linkLoadFinished, &window,
                         [report] { (void)!write(report, "l", 1); });
    });
}
