// CommandLine: the program's options: play (in a window or fullscreen), headless play from a
// key script, a direct start at one chart (optionally played by the autoplay), a replay watched
// or checked, content check, song import, help and version.
// Depends on: nothing.
#pragma once

#include <optional>
#include <string>
#include <vector>

struct Options {
    enum class Mode { Play, Headless, Check, Import, Help, Version };
    Mode mode = Mode::Play;
    std::string dataDir;    // the one folder of everything; empty: player's folder + bundled
    std::string script;     // key script of the headless mode
    std::string audioOut;   // WAV file for the headless mix; empty for none
    std::string play;       // title to start at (its countdown); empty for the title screen
    int level = 1;          // level of the direct start, 1 to 3
    bool autoplay = false;  // the direct start's run is played by the autoplay
    std::string replay;     // replay file to watch (headless: to check); empty for none
    // The window's mode for this run: the remembered one unless an option overrides it.
    enum class Display { Remembered, Fullscreen, Window };
    Display display = Display::Remembered;
    // Songs, folders and archives to import.
    std::vector<std::string> importPaths;
    // --offset: the global audio offset of this run, in ms; none keeps the remembered one.
    std::optional<int> offsetMs;
};

// Parses argv; false with a message in error for an unknown or incomplete option.
bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error);
// The text of --help.
const char* UsageText();
