// Silencing of ALSA's error printer (through the library's own hook, looked up at run time so
// no ALSA headers or link are needed) and of OpenAL Soft's log level.
// Depends on: dlfcn (glibc).
#include "platform/sound/QuietAlsa.h"

#include <dlfcn.h>

#include <cstdlib>

#include "platform/sound/OutputLatency.h"

namespace platform {
namespace {

// ALSA's error handler signature; this one discards everything.
void DiscardAlsaError(const char*, int, const char*, int, const char*, ...) {}

using SetHandlerFn = int (*)(void (*)(const char*, int, const char*, int, const char*, ...));

}  // namespace

void QuietSoundLibraries() {
    static bool done = false;
    if (done) return;
    done = true;
    // OpenAL Soft reads this once, at its first call; an explicit user setting wins.
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // Also read at the first device: the short mixing period.
    ConfigureOutputPeriod();
    // The same library instance OpenAL Soft loads later; the handle is kept for good.
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    if (auto set = reinterpret_cast<SetHandlerFn>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(&DiscardAlsaError);
}

}  // namespace platform
