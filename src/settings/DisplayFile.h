// DisplayFile: the player's choice between a window and fullscreen, remembered in a small file
// of its own, "Display.cfg" ("Fullscreen[1]" or "Fullscreen[0]"), so that "Config.cfg" keeps
// its format exactly. Read and written in the working directory, like "Config.cfg".
// Depends on: settings/KeyValueReader.h, platform/files/FileSystem.h, platform/files/AtomicFile.h.
#pragma once

#include <string>
#include <string_view>

// The file's name.
inline constexpr const char* kDisplayFile = "Display.cfg";

// Reads the text of the file into fullscreen; false with "LINE: message" in error when a
// Fullscreen value is neither 0 nor 1. Other keys are skipped; no entry leaves fullscreen as is.
bool ParseDisplayText(std::string_view text, bool* fullscreen, std::string* error);

// Reads the file: a missing one means a window. False with "file:line: message" in error when
// it cannot be read or says something else; fullscreen is then false.
bool LoadDisplayChoice(bool* fullscreen, std::string* error);

// Writes the choice atomically; false with the reason in error.
bool SaveDisplayChoice(bool fullscreen, std::string* error);
