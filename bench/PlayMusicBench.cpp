// PlayMusic of a 3-minute 44.1 kHz stereo 16-bit song from a warm page cache: the whole cost
// a song start adds to its frame (read, check, upload, start; the previous song released).
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <vector>

#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "platform/AudioBackend.h"

namespace {

// Writes a 16-bit stereo PCM file of the given length, filled with a quiet saw wave.
void WriteSong(const std::filesystem::path& path, uint32_t frames) {
    std::filesystem::create_directories(path.parent_path());
    uint32_t dataBytes = frames * 4;
    std::vector<uint8_t> b;
    auto put = [&](uint32_t v, int width) {
        for (int i = 0; i < width; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    auto id = [&](const char* s) {
        for (int i = 0; i < 4; ++i) b.push_back(uint8_t(s[i]));
    };
    id("RIFF"), put(36 + dataBytes, 4), id("WAVE"), id("fmt "), put(16, 4);
    put(1, 2), put(2, 2), put(44100, 4), put(44100 * 4, 4), put(4, 2), put(16, 2);
    id("data"), put(dataBytes, 4);
    b.resize(b.size() + dataBytes);
    for (uint32_t i = 0; i < frames * 2; ++i) {
        uint16_t v = uint16_t((i % 200) * 40);
        b[44 + 2 * i] = uint8_t(v), b[45 + 2 * i] = uint8_t(v >> 8);
    }
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(b.data()), std::streamsize(b.size()));
}

void BM_PlayMusicThreeMinuteSong(benchmark::State& state) {
    auto old = std::filesystem::current_path();
    auto dir =
        std::filesystem::temp_directory_path() / ("lyrandel-bench-" + std::to_string(getpid()));
    WriteSong(dir / "Data/Music/Song/Song.wav", 180 * 44100);
    std::filesystem::current_path(dir);
    platform::SelectLoopbackOutput(true, nullptr);
    SoundManager& manager = SoundManager::Get();
    manager.engine = std::make_unique<DirectX::AudioEngine>();
    manager.PlayMusic(L"Song/Song.wav", 0.8f);  // warms the page cache
    for (auto _ : state) manager.PlayMusic(L"Song/Song.wav", 0.8f);
    state.counters["device"] = manager.engine->IsAudioDevicePresent() ? 1 : 0;
    manager.ReleaseAll();
    manager.engine.reset();
    platform::SelectLoopbackOutput(false, nullptr);
    std::filesystem::current_path(old);
    std::filesystem::remove_all(dir);
}
BENCHMARK(BM_PlayMusicThreeMinuteSong)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
