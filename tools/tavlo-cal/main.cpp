// tavlo-cal month [YYYY-MM] | day [YYYY-MM-DD] | dump START END | render [YYYY-MM-DD] OUT.png ...
#include "CalendarArgs.h"
#include "Commands.h"
#ifdef TAVLO_CAL_RENDER
#include "RenderCommand.h"
#endif

#include <cstdio>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    using namespace tavlo::cal;
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
    try {
        if (command == "month")
            runMonth(args, stdout);
        else if (command == "day")
            runDay(args, stdout);
        else if (command == "dump")
            runDump(args, stdout);
#ifdef TAVLO_CAL_RENDER
        else if (command == "render")
            return runRender(args);
#endif
        else
            throw UsageError(
                "usage: tavlo-cal month [YYYY-MM] | day [YYYY-MM-DD] | dump START END"
                " | render [YYYY-MM-DD] OUT.png [--size WxH] [--week-numbers] [--no-title]");
    } catch (const UsageError& error) {
        std::fprintf(stderr, "tavlo-cal: %s\n", error.what());
        return 1;
    }
    if (std::fflush(stdout) != 0) {
        std::fprintf(stderr, "tavlo-cal: cannot write the output\n");
        return 1;
    }
    return 0;
}
