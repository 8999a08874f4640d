// Config: the six player settings, with "Config.cfg" read leniently and written exactly.
// Depends on: nothing beyond the standard library.
#pragma once

#include <string>

struct Config {
    float Volume = 1.0f;
    float BGMVolume = 1.0f;
    float SEVolume = 1.0f;
    float HitGap = 0.0f;
    float HitLine = 500.0f;
    float HiSpeed = 2.0f;
};

// The one process-wide settings record.
Config& GetConfig();
// Puts the defaults into Config and overrides them from "Config.cfg"; on a malformed value
// returns false with "file:line: message" in error.
bool LoadConfig(std::string* error = nullptr);
// Rewrites "Config.cfg" atomically from Config; false with a message in error on failure.
bool SaveConfig(std::string* error = nullptr);
