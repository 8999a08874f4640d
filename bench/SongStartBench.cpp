// PlayMusic of a 3-minute song of every format the game plays, on the game's device, from a
// warm page cache, in wall time: what a song start adds to its frame (open, read or decode
// the first pieces, upload, start; the previous song released). The conversion of 24-bit,
// float and six-channel files and the decoding of compressed ones happen piece by piece while
// the song plays, so none of them should cost more than its first pieces here. Between two
// starts the feeder thread is let finish, as a song in the game plays a while before it is
// replaced.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>

#include "SongFiles.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"

namespace fs = std::filesystem;

namespace {

void BM_PlayMusicThreeMinutes(benchmark::State& state, const benchsongs::SongKind& kind) {
    const fs::path home = fs::current_path();
    const fs::path dir =
        fs::temp_directory_path() / ("lyrandel-song-bench-" + std::to_string(getpid()));
    const std::string name = std::string("Song/Song") + kind.ending;
    if (!benchsongs::WriteSong(dir / "Data/Music" / name, kind, 180))
        return state.SkipWithError("libsndfile could not write the song");
    fs::current_path(dir);
    SoundManager& manager = SoundManager::Get();
    manager.engine = std::make_unique<DirectX::AudioEngine>();
    const std::wstring song(name.begin(), name.end());
    manager.PlayMusic(song, 0.8f);  // warms the page cache
    for (auto _ : state) {
        // As in the game, the song before has been playing a while: its feeding is done.
        manager.engine->Feeder().WaitForPass();
        const auto t0 = std::chrono::steady_clock::now();
        manager.PlayMusic(song, 0.8f);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["device"] = manager.engine->IsAudioDevicePresent() ? 1 : 0;
    state.SetLabel(kind.label);
    manager.ReleaseAll();
    manager.engine.reset();
    fs::current_path(home);
    fs::remove_all(dir);
}

}  // namespace

BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, wav16, benchsongs::kWav16)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, wav24, benchsongs::kWav24)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, float, benchsongs::kWavFloat)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, six, benchsongs::kWavSix)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, ogg, benchsongs::kOgg)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, opus, benchsongs::kOpus)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, flac, benchsongs::kFlac)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
BENCHMARK_CAPTURE(BM_PlayMusicThreeMinutes, mp3, benchsongs::kMp3)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(30);
