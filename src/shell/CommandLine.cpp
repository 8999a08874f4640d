// CommandLine: option parsing for the program.
#include "shell/CommandLine.h"

#include <string_view>

namespace {

// Takes the value of an option that needs one; false when it is missing.
bool TakeValue(int argc, const char* const* argv, int& i, std::string& value, std::string& error) {
    if (i + 1 >= argc || argv[i + 1][0] == '\0') {
        error = std::string("option ") + argv[i] + " needs a value";
        return false;
    }
    value = argv[++i];
    return true;
}

}  // namespace

const char* UsageText() {
    return "usage: lyrandel [--data DIR]\n"
           "       lyrandel --check [--data DIR]\n"
           "       lyrandel --headless --script FILE [--data DIR] [--audio-out FILE.wav]\n"
           "       lyrandel --import PATH... [--data DIR]\n"
           "       lyrandel --help | --version\n"
           "\n"
           "  --data DIR         read and write the game's files in DIR\n"
           "  --check            report every problem of the content files and exit\n"
           "  --headless         run without a window or sound device, on a simulated clock\n"
           "  --script FILE      key script of the headless mode\n"
           "  --audio-out FILE   write the headless mode's sound as a WAV file\n"
           "  --import PATH...   import songs of other games: .sm, .ssc or .osu files, song\n"
           "                     folders, packs of them, .osz or .zip archives\n";
}

bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error) {
    bool headless = false, check = false, importing = false;
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            out.mode = Options::Mode::Help;
            return true;
        }
        if (arg == "--version") {
            out.mode = Options::Mode::Version;
            return true;
        }
        if (arg == "--headless") {
            headless = true;
        } else if (arg == "--check") {
            check = true;
        } else if (arg == "--import") {
            importing = true;
        } else if (importing && !arg.empty() && arg.rfind("--", 0) != 0) {
            out.importPaths.emplace_back(arg);
        } else if (arg == "--data") {
            if (!TakeValue(argc, argv, i, out.dataDir, error)) return false;
        } else if (arg == "--script") {
            if (!TakeValue(argc, argv, i, out.script, error)) return false;
        } else if (arg == "--audio-out") {
            if (!TakeValue(argc, argv, i, out.audioOut, error)) return false;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    if (headless && check) {
        error = "--headless and --check cannot be used together";
        return false;
    }
    if (importing && (headless || check)) {
        error = "--import cannot be used with --headless or --check";
        return false;
    }
    if (importing && out.importPaths.empty()) {
        error = "--import needs at least one PATH";
        return false;
    }
    if (headless && out.script.empty()) {
        error = "--headless needs --script FILE";
        return false;
    }
    if (!headless && (!out.script.empty() || !out.audioOut.empty())) {
        error = "--script and --audio-out are options of --headless";
        return false;
    }
    out.mode = headless    ? Options::Mode::Headless
               : check     ? Options::Mode::Check
               : importing ? Options::Mode::Import
                           : Options::Mode::Play;
    return true;
}
