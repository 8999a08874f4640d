// CaptureSamples: reads back what a headless run's --audio-out wrote, for end-to-end tests:
// one channel's samples, and where sounds begin after silence.
// Depends on: libsndfile.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace testsupport {

// The samples of one channel of a sound file; empty when it cannot be read.
inline std::vector<float> ChannelSamples(const std::filesystem::path& wav, int channel = 0) {
    SF_INFO info{};
    SNDFILE* file = sf_open(wav.c_str(), SFM_READ, &info);
    if (file == nullptr) return {};
    std::vector<float> all(static_cast<size_t>(info.frames * info.channels));
    sf_readf_float(file, all.data(), info.frames);
    sf_close(file);
    std::vector<float> one;
    for (size_t i = size_t(channel); i < all.size(); i += size_t(info.channels))
        one.push_back(all[i]);
    return one;
}

// Where sounds begin: the first sample louder than threshold after at least quiet samples
// that were not (50 ms at 44.1 kHz by default).
inline std::vector<long> SoundOnsets(const std::vector<float>& samples, float threshold,
                                     long quiet = 2205) {
    std::vector<long> onsets;
    long quietSince = -quiet - 1;
    for (long i = 0; i < long(samples.size()); ++i) {
        if (std::fabs(samples[size_t(i)]) <= threshold) continue;
        if (i - quietSince > quiet) onsets.push_back(i);
        quietSince = i;
    }
    return onsets;
}

}  // namespace testsupport
