// CommandLine: the program's options: play, headless play from a key script, content check,
// help and version.
// Depends on: nothing.
#pragma once

#include <string>

struct Options {
    enum class Mode { Play, Headless, Check, Help, Version };
    Mode mode = Mode::Play;
    std::string dataDir;   // the one folder of everything; empty: player's folder + bundled
    std::string script;    // key script of the headless mode
    std::string audioOut;  // WAV file for the headless mix; empty for none
};

// Parses argv; false with a message in error for an unknown or incomplete option.
bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error);
// The text of --help.
const char* UsageText();
