// CommandLine: the program's options: play, headless play from a key script, content check,
// song import, help and version.
// Depends on: nothing.
#pragma once

#include <string>
#include <vector>

struct Options {
    enum class Mode { Play, Headless, Check, Import, Help, Version };
    Mode mode = Mode::Play;
    std::string dataDir;   // content directory; empty means the working directory
    std::string script;    // key script of the headless mode
    std::string audioOut;  // WAV file for the headless mix; empty for none
    // Songs, folders and archives to import.
    std::vector<std::string> importPaths;
};

// Parses argv; false with a message in error for an unknown or incomplete option.
bool ParseCommandLine(int argc, const char* const* argv, Options& out, std::string& error);
// The text of --help.
const char* UsageText();
