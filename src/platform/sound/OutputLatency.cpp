// OutputLatency: the private OpenAL Soft configuration (period, sources, resampler, stereo
// output), and the report of the latency the device ends up with.
// Depends on: platform/sound/OutputLatency.h, platform/sound/QuietAlsa.h, OpenAL Soft, POSIX.
#define AL_ALEXT_PROTOTYPES
#include "platform/sound/OutputLatency.h"

#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

#include "platform/sound/QuietAlsa.h"

namespace platform {
namespace {

// The default period when nothing else is asked for. Ten milliseconds: the mixer thread wakes
// half as often as at 5 ms, which keeps an idle game under 2 % of a core; the latency it adds
// (about 21 ms with three periods, as the device reports it) is added to the song's offset.
constexpr OutputPeriod kDefaultPeriod{10, 3};
// The rate the period is counted in; the library rescales it to the device's own rate.
constexpr int kNominalRate = 44100;

std::string gConfigPath;  // the private configuration file, while it exists

// Writes the configuration text to a fresh private file; its path, or "" on failure.
std::string WriteConfig(const OutputPeriod& period) {
    const char* dir = std::getenv("TMPDIR");
    std::string path = std::string(dir && *dir ? dir : "/tmp") + "/lyrandel-openal-XXXXXX";
    int fd = mkstemp(path.data());
    if (fd < 0) return "";
    std::string text = "[general]\n";
    if (period.milliseconds > 0) {
        const int frames = period.milliseconds * kNominalRate / 1000;
        text += "period_size = " + std::to_string(frames) + "\n";
        text += "periods = " + std::to_string(period.periods) + "\n";
    }
    text += "sources = " + std::to_string(kSoundSources) + "\n";
    text += "resampler = bsinc24\n";
    // The game's voices send their two channels straight to the front speakers; a mono
    // device would drop them, so the output is always stereo (the sound server downmixes).
    text += "channels = stereo\n";
    bool ok = write(fd, text.data(), text.size()) == ssize_t(text.size());
    close(fd);
    if (!ok) unlink(path.c_str());
    return ok ? path : "";
}

}  // namespace

bool ParseOutputPeriod(const std::string& text, OutputPeriod& out) {
    if (text == "off") return out = {}, true;
    int ms = 0, periods = 0;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%dx%d%c", &ms, &periods, &tail) != 2) return false;
    if (ms < 1 || ms > 100 || periods < 2 || periods > 16) return false;
    out = {ms, periods};
    return true;
}

OutputPeriod ConfigureOutputPeriod() {
    static bool done = false;
    static OutputPeriod chosen;
    if (done) return chosen;
    done = true;
    if (std::getenv("ALSOFT_CONF")) return chosen;  // the user's own configuration holds
    OutputPeriod period = kDefaultPeriod;
    if (const char* asked = std::getenv("LYRANDEL_AUDIO_PERIOD")) {
        if (!ParseOutputPeriod(asked, period)) {
            std::fprintf(stderr,
                         "lyrandel: LYRANDEL_AUDIO_PERIOD=%s is not MSxN (1-100 ms, 2-16 "
                         "periods); using the default period\n",
                         asked);
            period = kDefaultPeriod;
        }
    }
    gConfigPath = WriteConfig(period);
    if (gConfigPath.empty()) return chosen;
    setenv("ALSOFT_CONF", gConfigPath.c_str(), 1);
    std::atexit(ForgetOutputConfig);  // no stray file even when no device ever opens
    chosen = period;
    return chosen;
}

void ForgetOutputConfig() {
    if (gConfigPath.empty()) return;
    // ALSOFT_CONF stays: other threads may be reading the environment by now, and the library
    // reads its configuration only once.
    unlink(gConfigPath.c_str());
    gConfigPath.clear();
}

OutputLatencyReport MeasureOutputLatency() {
    QuietSoundLibraries();
    OutputLatencyReport report;
    ALCdevice* device = alcOpenDevice(nullptr);
    ForgetOutputConfig();
    if (!device) return report;
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (context) {
        report.opened = true;
        ALCint frequency = 0, refresh = 0;
        alcGetIntegerv(device, ALC_FREQUENCY, 1, &frequency);
        alcGetIntegerv(device, ALC_REFRESH, 1, &refresh);
        report.frequency = frequency;
        report.updateFrames = refresh > 0 ? frequency / refresh : 0;
        if (alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) {
            ALCint64SOFT latency = -1;
            alcGetInteger64vSOFT(device, ALC_DEVICE_LATENCY_SOFT, 1, &latency);
            if (latency >= 0) report.latencyMs = double(latency) / 1e6;
        }
        alcDestroyContext(context);
    }
    alcCloseDevice(device);
    return report;
}

}  // namespace platform
