// The level of a 48 kHz tone after the mixer resamples it to the 44.1 kHz loopback mix, at
// 1 kHz and at 15 kHz: the resampler chosen in the private configuration should keep both at
// their level (0 dB), where a linear one loses several decibels at 15 kHz. A report through
// counters, not a timing.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <vector>

#include "SongFiles.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "platform/AudioBackend.h"

namespace fs = std::filesystem;

namespace {

// The level in decibels, against the tone's own, of a tone of hz played at 48 kHz.
double LevelAfterResampling(double hz) {
    const fs::path file =
        fs::temp_directory_path() / ("lyrandel-resampler-" + std::to_string(getpid()) + ".wav");
    const int rate = 48000, frames = rate;
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        auto v = int16_t(16384 * std::sin(2 * M_PI * hz * i / rate));
        samples.push_back(v), samples.push_back(v);
    }
    SF_INFO info{};
    info.samplerate = rate, info.channels = 2, info.format = SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    SNDFILE* out = sf_open(file.c_str(), SFM_WRITE, &info);
    if (!out) return NAN;
    sf_writef_short(out, samples.data(), frames);
    sf_close(out);
    platform::SelectLoopbackOutput(true, nullptr);
    double level = NAN;
    {
        DirectX::AudioEngine engine;
        DirectX::SoundEffect effect(&engine, file.wstring());
        auto instance = effect.CreateInstance();
        instance->Play();
        std::vector<float> mix(2 * 44100);
        platform::RenderLoopback(mix.data(), 44100);
        double sum = 0;
        for (int i = 4410; i < 39690; ++i) sum += double(mix[2 * i]) * mix[2 * i];
        const double rms = std::sqrt(sum / (39690 - 4410));
        level = 20 * std::log10(rms / (0.5 / std::sqrt(2.0)));
    }
    platform::SelectLoopbackOutput(false, nullptr);
    fs::remove(file);
    return level;
}

void BM_ResampledToneLevel(benchmark::State& state) {
    double low = 0, high = 0;
    for (auto _ : state) {
        low = LevelAfterResampling(1000);
        high = LevelAfterResampling(15000);
    }
    state.counters["level_1k_db"] = low;
    state.counters["level_15k_db"] = high;
}

}  // namespace

BENCHMARK(BM_ResampledToneLevel)->Iterations(1);
