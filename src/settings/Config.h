// Config: the six player settings, with "Config.cfg" read leniently and written exactly.
// Depends on: settings/KeyValueReader.h, platform/files/FileSystem.h, platform/files/AtomicFile.h.
#pragma once

#include <string>
#include <string_view>

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
// Puts the defaults into Config and overrides them from "Config.cfg". A missing file keeps the
// defaults and succeeds (the first save creates it). Returns false with "Config.cfg: ..." when
// the file cannot be read, or "Config.cfg:LINE: message" for a malformed number or an entry
// piece longer than 259 characters; the file is never touched.
bool LoadConfig(std::string* error = nullptr);
// Rewrites "Config.cfg" atomically from Config; false with a message in error on failure
// (the old file then stays as it was).
bool SaveConfig(std::string* error = nullptr);

// Reads configuration text into config over what it holds (no defaults are set). On failure
// returns false with "LINE: message" in error; fields read before the bad line keep their values.
bool ParseConfigText(std::string_view text, Config* config, std::string* error);
// The six lines of the file, "%f" values, LF line ends.
std::string FormatConfigText(const Config& config);
