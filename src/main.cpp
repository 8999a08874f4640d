// lyrandel: the program's entry: options, then the game, the headless run, the check or the
// import.
#include <cstdio>

#include "shell/App.h"
#include "shell/CommandLine.h"
#include "shell/ContentCheck.h"
#include "shell/ImportCommand.h"

int main(int argc, char** argv) {
    Options options;
    std::string error;
    if (!ParseCommandLine(argc, argv, options, error)) {
        std::fprintf(stderr, "lyrandel: %s\n%s", error.c_str(), UsageText());
        return 2;
    }
    switch (options.mode) {
        case Options::Mode::Help:
            std::fputs(UsageText(), stdout);
            return 0;
        case Options::Mode::Version:
            std::printf("lyrandel %s\n", LYRANDEL_VERSION);
            return 0;
        case Options::Mode::Check:
            return RunCheck(options);
        case Options::Mode::Import:
            return RunImport(options);
        default:
            return RunApp(options);
    }
}
