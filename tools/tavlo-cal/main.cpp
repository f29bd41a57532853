// tavlo-cal month [YYYY-MM] | day [YYYY-MM-DD] | dump START END | render [YYYY-MM-DD] OUT.png ...
#include "CalendarArgs.h"
#include "Commands.h"
#ifdef TAVLO_CAL_RENDER
#include "RenderCommand.h"
#endif

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

int main(int argc, char** argv) {
    using namespace tavlo::cal;
    const std::vector<std::string> args(argv + (argc > 1 ? 2 : 1), argv + argc);
    const std::string command = argc > 1 ? argv[1] : "";
#ifdef _WIN32
    // The output is UTF-8 text with LF line ends on every system, so that
    // dumps compare byte for byte; text mode would write CR LF.
    _setmode(_fileno(stdout), _O_BINARY);
#endif
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
    } catch (const std::system_error& error) {
        std::fprintf(stderr, "tavlo-cal: %s\n", error.what());
        return 1;
    }
    // A write that failed early (a full disk) leaves nothing for the last
    // flush to fail on; the stream's error flag remembers it.
    const bool flushed = std::fflush(stdout) == 0;
    const int error = errno;
    if (!flushed || std::ferror(stdout)) {
        if (flushed)
            std::fprintf(stderr, "tavlo-cal: cannot write the output\n");
        else
            std::fprintf(stderr, "tavlo-cal: cannot write the output: %s\n", std::strerror(error));
        return 1;
    }
    return 0;
}
