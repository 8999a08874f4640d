// Keeps the sound libraries' own diagnostics about missing hardware off stderr.
// Depends on: nothing beyond the standard library.
#pragma once

namespace platform {

// Silences the ALSA library's error printer and OpenAL Soft's log, unless the user asked
// for that log through its own environment variable. Safe to call more than once.
void QuietSoundLibraries();

}  // namespace platform
