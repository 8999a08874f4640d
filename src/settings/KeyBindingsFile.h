// KeyBindingsFile: the player's lane keys in a small file of their own, "Keys.cfg" beside
// "Config.cfg" (whose format never changes): one line per lane slot, "RedUp[0x57]" ...
// "BlueLeft[0x4A]", the key as its hexadecimal virtual-key code. A missing file means the
// default keys. A damaged file is reported in one line, set aside as "Keys.cfg.damaged" and the
// default keys are used; it never stops the game. Written atomically, readable by the player
// alone (0600).
// Depends on: settings/KeyBindings.h, settings/KeyValueReader.h, platform/files (FileSystem,
// AtomicFile, SetAside).
#pragma once

#include <string>
#include <string_view>

#include "settings/KeyBindings.h"

// The file's name.
inline constexpr const char* kKeyBindingsFile = "Keys.cfg";

// Reads the text over lanes: false with "LINE: message" for a value that is no bindable key,
// or for two slots holding one key. Slots the text does not name keep their keys; other
// names are skipped.
bool ParseKeyBindingsText(std::string_view text, LaneKeys* lanes, std::string* error);
// The eight lines of the file.
std::string FormatKeyBindingsText(const LaneKeys& lanes);

// Puts the file's keys (or the defaults) into the process-wide bindings. A damaged or unreadable
// file is reported on stderr and set aside; the defaults are then used.
void LoadKeyBindings();
// Writes the process-wide bindings atomically; false with the reason in error.
bool SaveKeyBindings(std::string* error);
