// Song files of every kind the game plays, written for the benchmarks with libsndfile: WAV in
// 16 and 24 bits, float and six channels, and the compressed formats. A quiet chord, so the
// lossy coders have real work.
#pragma once

#include <sndfile.h>

#include <cmath>
#include <filesystem>
#include <string>
#include <vector>

namespace benchsongs {

// One kind of song file: its ending, libsndfile format, channels and rate.
struct SongKind {
    const char* label;
    const char* ending;
    int format;
    int channels;
    int rate;
};

inline const SongKind kWav16{"44.1 kHz stereo 16-bit WAV", ".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_16,
                             2, 44100};
inline const SongKind kWav24{"44.1 kHz stereo 24-bit WAV", ".wav", SF_FORMAT_WAV | SF_FORMAT_PCM_24,
                             2, 44100};
inline const SongKind kWavFloat{"44.1 kHz stereo float WAV", ".wav",
                                SF_FORMAT_WAV | SF_FORMAT_FLOAT, 2, 44100};
inline const SongKind kWavSix{"44.1 kHz 6-channel 16-bit WAV", ".wav",
                              SF_FORMAT_WAV | SF_FORMAT_PCM_16, 6, 44100};
inline const SongKind kOgg{"44.1 kHz stereo Ogg Vorbis", ".ogg", SF_FORMAT_OGG | SF_FORMAT_VORBIS,
                           2, 44100};
inline const SongKind kOpus{"48 kHz stereo Opus", ".opus", SF_FORMAT_OGG | SF_FORMAT_OPUS, 2,
                            48000};
inline const SongKind kFlac{"44.1 kHz stereo 16-bit FLAC", ".flac",
                            SF_FORMAT_FLAC | SF_FORMAT_PCM_16, 2, 44100};
inline const SongKind kMp3{"44.1 kHz stereo MP3", ".mp3", SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III,
                           2, 44100};

// Writes seconds of a quiet chord in the kind's format; false when libsndfile refuses.
inline bool WriteSong(const std::filesystem::path& path, const SongKind& kind, int seconds) {
    std::filesystem::create_directories(path.parent_path());
    SF_INFO info{};
    info.samplerate = kind.rate;
    info.channels = kind.channels;
    info.format = kind.format;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file) return false;
    const int block = 4096;
    std::vector<float> samples(size_t(block) * size_t(kind.channels));
    bool ok = true;
    for (long start = 0; ok && start < long(seconds) * kind.rate; start += block) {
        for (int i = 0; i < block; ++i) {
            double t = double(start + i) / kind.rate;
            float v =
                float(0.1 * std::sin(2 * M_PI * 220 * t) + 0.1 * std::sin(2 * M_PI * 277 * t) +
                      0.05 * std::sin(2 * M_PI * 3300 * t));
            for (int c = 0; c < kind.channels; ++c) samples[size_t(i * kind.channels + c)] = v;
        }
        ok = sf_writef_float(file, samples.data(), block) == block;
    }
    return sf_close(file) == 0 && ok;
}

}  // namespace benchsongs
