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

// Takes --offset's value: whole milliseconds from -300 to 300.
bool TakeOffset(int argc, const char* const* argv, int& i, std::optional<int>& ms,
                std::string& error) {
    std::string value;
    if (!TakeValue(argc, argv, i, value, error)) return false;
    size_t digits = value[0] == '-' || value[0] == '+' ? 1 : 0;
    bool whole = value.size() > digits && value.size() - digits <= 3 &&
                 value.find_first_not_of("0123456789", digits) == std::string::npos;
    int parsed = whole ? std::stoi(value) : 0;
    if (!whole || parsed < -300 || parsed > 300)
        return error = "--offset takes whole milliseconds from -300 to 300, not '" + value + "'",
               false;
    ms = parsed;
    return true;
}

}  // namespace

const char* UsageText() {
    return "usage: lyrandel [--data DIR] [--fullscreen | --window] [--offset MS]\n"
           "       lyrandel --check [--data DIR]\n"
           "       lyrandel --headless --script FILE [--data DIR] [--audio-out FILE.wav]\n"
           "                [--offset MS]\n"
           "       lyrandel [--headless] --play TITLE [--level 1|2|3] [--autoplay] [--data DIR]\n"
           "       lyrandel [--headless] --replay FILE [--data DIR]\n"
           "       lyrandel --import PATH... [--data DIR]\n"
           "       lyrandel --help | --version\n"
           "\n"
           "  --data DIR         read and write every file in DIR alone (without it: the\n"
           "                     bundled content and the player's folder)\n"
           "  --check            report every problem of the content files and exit\n"
           "  --headless         run without a window or sound device, on a simulated clock\n"
           "  --script FILE      key script of the headless mode\n"
           "  --audio-out FILE   write the headless mode's sound as a WAV file\n"
           "  --play TITLE       start at the countdown of that song's chart (level 1 unless\n"
           "                     --level says), then go on to the selection as usual\n"
           "  --autoplay         play that chart all Perfect; its score is not recorded; with\n"
           "                     --headless and no script, quit when its result is complete\n"
           "  --replay FILE      watch a replay; with --headless, check it: the result line,\n"
           "                     then \"replay matches\" (exit 0) or \"replay differs\" (exit 1)\n"
           "  --fullscreen       play fullscreen this time (F11 or Alt+Enter switches)\n"
           "  --window           play in a window this time\n"
           "  --offset MS        the audio offset for this run, -300 to 300 ms (positive: you\n"
           "                     hear late, so songs start earlier); the remembered one stays\n"
           "  --import PATH...   import songs of other games: .sm, .ssc or .osu files, song\n"
           "                     folders, packs of them, .osz or .zip archives\n";
}

bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error) {
    bool headless = false, check = false, level = false, importing = false;
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
        } else if (arg == "--play") {
            if (!TakeValue(argc, argv, i, out.play, error)) return false;
        } else if (arg == "--level") {
            std::string value;
            if (!TakeValue(argc, argv, i, value, error)) return false;
            if (value != "1" && value != "2" && value != "3")
                return error = "--level takes 1, 2 or 3, not '" + value + "'", false;
            out.level = value[0] - '0';
            level = true;
        } else if (arg == "--replay") {
            if (!TakeValue(argc, argv, i, out.replay, error)) return false;
        } else if (arg == "--offset") {
            if (!TakeOffset(argc, argv, i, out.offsetMs, error)) return false;
        } else if (arg == "--autoplay") {
            out.autoplay = true;
        } else if (arg == "--fullscreen" || arg == "--window") {
            const auto display =
                arg == "--window" ? Options::Display::Window : Options::Display::Fullscreen;
            if (out.display != Options::Display::Remembered && out.display != display)
                return error = "--fullscreen and --window cannot be used together", false;
            out.display = display;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    if (headless && check) {
        error = "--headless and --check cannot be used together";
        return false;
    }
    if (importing && (headless || check || !out.play.empty() || !out.replay.empty() ||
                      out.offsetMs || out.display != Options::Display::Remembered)) {
        error = "--import goes with --data alone";
        return false;
    }
    if (importing && out.importPaths.empty()) {
        error = "--import needs at least one PATH";
        return false;
    }
    if (out.play.empty() && (level || out.autoplay))
        return error = "--level and --autoplay are options of --play TITLE", false;
    if (check && !out.play.empty())
        return error = "--check and --play cannot be used together", false;
    if (!out.replay.empty() && (check || !out.play.empty() || !out.script.empty()))
        return error =
                   "--replay goes with --headless, --data, --audio-out and the window's options",
               false;
    if (check && out.offsetMs) return error = "--offset is an option of playing", false;
    if (headless && out.script.empty() && !out.autoplay && out.replay.empty()) {
        error = "--headless needs --script FILE (or --play TITLE --autoplay, or --replay FILE)";
        return false;
    }
    if ((headless || check) && out.display != Options::Display::Remembered) {
        error = "--fullscreen and --window are options of the window";
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
