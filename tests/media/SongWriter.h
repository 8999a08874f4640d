// Writes sound files of our own with libsndfile for the tests: compressed songs (Ogg Vorbis,
// Opus, FLAC, MP3) and any channel count, from float samples.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace songtest {

// The libsndfile format of a file ending.
inline int FormatOf(const std::string& ending) {
    if (ending == ".ogg") return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    if (ending == ".opus") return SF_FORMAT_OGG | SF_FORMAT_OPUS;
    if (ending == ".flac") return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
    if (ending == ".mp3") return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
    return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
}

// Writes interleaved samples to path in the format its ending names; false when refused.
inline bool WriteSong(const std::filesystem::path& path, const std::vector<float>& samples,
                      int channels, int rate) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = FormatOf(path.extension().string());
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    sf_count_t frames = sf_count_t(samples.size() / size_t(channels));
    bool ok = sf_writef_float(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

// Writes interleaved 16-bit samples exactly (for lossless formats).
inline bool WriteSong16(const std::filesystem::path& path, const std::vector<int16_t>& samples,
                        int channels, int rate) {
    if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = channels;
    info.format = FormatOf(path.extension().string());
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    sf_count_t frames = sf_count_t(samples.size() / size_t(channels));
    bool ok = sf_writef_short(file, samples.data(), frames) == frames;
    return sf_close(file) == 0 && ok;
}

// A tone of the given frequency and amplitude on every channel.
inline std::vector<float> Tone(double seconds, int channels, int rate, double hz, float level) {
    size_t frames = size_t(seconds * rate);
    std::vector<float> s(frames * size_t(channels));
    for (size_t i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            s[i * size_t(channels) + size_t(c)] =
                level * float(std::sin(2 * 3.14159265358979 * hz * double(i) / rate));
    return s;
}

}  // namespace songtest
