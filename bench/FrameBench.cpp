// Cost of whole frames of the Game scene through the frame loop's own steps (sound update,
// keys, update, sprite pass, text pass, present) with the GPU replaced by the null back end
// and the text engine and sound device (OpenAL's "No Output" driver under bench.sh) real:
// the busiest play screen and the result screen with its ticker, each with 400 notes on
// screen; and the update that starts a 3-minute song (WAV, and Ogg decoded while it plays),
// with PlayMusic of the WAV song alone.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <limits>
#include <vector>

#include "SongFiles.h"
#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "gameplay/PlaySession.h"
#include "media/AudioEngine.h"
#include "media/Keyboard.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "platform/Codepage.h"
#include "platform/Messages.h"
#include "platform/NullGpu.h"
#include "platform/headless/HeadlessHost.h"
#include "selection/MusicChoice.h"
#include "services/GraphicsDevice.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/PlayerProfile.h"
#include "shell/FrameLoop.h"
#include "shell/FrameSteps.h"

namespace fs = std::filesystem;

namespace {

// A 1 by 1 white PNG image; the null GPU never samples it.
const unsigned char kTinyPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00, 0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9c, 0x63, 0xf8, 0x0f, 0x04, 0x00, 0x09, 0xfb, 0x03, 0xfd, 0xfb, 0x5e, 0x6b, 0x2b,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

// A title long enough to scroll, so the title text changes as it does in play.
const std::wstring kTitle = L"ベンチマークの長い曲名 Long Title";
constexpr int kNotesPerLane = 200;
constexpr int32_t kSongStart = -63;                // the countdown value at which the song starts
constexpr uint32_t kRedUp = 0x57, kBlueUp = 0x49;  // W and I: the Up keys of the lanes

// Writes bytes to path, making its folders.
void WriteFile(const fs::path& path, const void* bytes, size_t size) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary)
        .write(static_cast<const char*>(bytes), std::streamsize(size));
}

// Writes a 44.1 kHz stereo 16-bit PCM file of the given length (a quiet saw wave).
void WriteWav(const fs::path& path, uint32_t frames) {
    std::vector<uint8_t> b;
    auto put = [&](uint32_t v, int width) {
        for (int i = 0; i < width; ++i) b.push_back(uint8_t(v >> (8 * i)));
    };
    auto id = [&](const char* s) { b.insert(b.end(), s, s + 4); };
    const uint32_t dataBytes = frames * 4;
    id("RIFF"), put(36 + dataBytes, 4), id("WAVE"), id("fmt "), put(16, 4);
    put(1, 2), put(2, 2), put(44100, 4), put(44100 * 4, 4), put(4, 2), put(16, 2);
    id("data"), put(dataBytes, 4);
    b.reserve(b.size() + dataBytes);
    for (uint32_t i = 0; i < frames * 2; ++i) put(uint16_t((i % 200) * 40), 2);
    WriteFile(path, b.data(), b.size());
}

// Thread CPU time now, in seconds: the frame's own cost, not the sound mixer's thread.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// The game's services over the null GPU, a content folder with a 3-minute song, and a Game
// scene in a frame loop, for one benchmark's lifetime.
struct GameSetup {
    fs::path home = fs::current_path();
    fs::path folder =
        fs::temp_directory_path() / ("lyrandel-frame-bench-" + std::to_string(getpid()));
    platform::HeadlessHost host{NoScript()};
    GameFrameSteps steps;
    Game* game = nullptr;
    std::unique_ptr<FrameLoop> loop;
    std::vector<NoteRecord> red, blue;
    bool ok = false;

    // With a song, of the given kind (a 16-bit WAV when none is given).
    explicit GameSetup(bool withSong, const benchsongs::SongKind* kind = nullptr) {
        WriteContent(withSong, kind);
        fs::current_path(folder);
        GetConfig() = Config{};
        ClearProfile();
        GetMusicChoice().title = kTitle;
        GetMusicChoice().level = L"1";
        auto gpu = std::make_unique<platform::NullGpu>();
        gpu->keepVertices = false;
        GraphicsDevice::Get().gpu = std::move(gpu);
        GraphicsDevice::Get().CreateDeviceResources();
        TextRenderer::Get().Initialize(L"メイリオ", L"", 14.0f);
        std::string error;
        if (!CreateSpriteRenderer(&error)) return;
        KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
        SoundManager::Get().engine = std::make_unique<DirectX::AudioEngine>();
        if (!TextureStore::Get().Load(kTitle, L"Jacket.png")) return;
        auto scene = std::make_unique<Game>();
        game = scene.get();
        if (!game->Initialize()) return;
        loop = std::make_unique<FrameLoop>(host, steps, std::move(scene));
        for (int i = 0; i < kNotesPerLane; ++i) {
            // Spread over the visible stretch; the first of each lane is in reach of Up.
            float d = 0.0024f * float(i);
            red.push_back({d, i % 4});
            blue.push_back({d, i % 4});
        }
        ok = true;
    }

    ~GameSetup() {
        loop.reset();
        SoundManager::Get().ReleaseAll();
        SoundManager::Get().engine.reset();
        KeyInput::Get().keyboard.reset();
        DestroySpriteRenderer();
        TextureStore::Get().Clear();
        TextRenderer::Get().ReleaseDeviceResources();
        GraphicsDevice::Get().gpu.reset();
        ClearProfile();
        fs::current_path(home);
        fs::remove_all(folder);
    }

    // A key script that never closes the window.
    static platform::KeyScript NoScript() {
        platform::KeyScript script;
        script.quitFrame = std::numeric_limits<uint64_t>::max();
        return script;
    }

    // The chart, the scene's textures, the press sound and, when asked, the 3-minute song.
    void WriteContent(bool withSong, const benchsongs::SongKind* kind) {
        fs::remove_all(folder);
        const fs::path music = folder / "Data/Music" / platform::WideToUtf8(kTitle);
        const std::string chart = "BPM[150]\nSecond[180]\n[RU 0.5]\n[BU 0.5]\n";
        WriteFile(music / "1.nsd", chart.data(), chart.size());
        for (const char* name : {"Jacket.png", "Hit.png", "Up_Red.png", "Right_Red.png",
                                 "Down_Red.png", "Left_Red.png", "Up_Blue.png", "Right_Blue.png",
                                 "Down_Blue.png", "Left_Blue.png", "kk.png"})
            WriteFile(folder / "Data/Texture" / name, kTinyPng, sizeof kTinyPng);
        WriteWav(folder / "Data/SE/タンバリンの音.wav", 4410);
        if (withSong && kind)
            benchsongs::WriteSong(music / (platform::WideToUtf8(kTitle) + kind->ending), *kind,
                                  180);
        else if (withSong)
            WriteWav(music / platform::WideToUtf8(kTitle + L".wav"), 180 * 44100);
    }

    // Puts 400 notes back on the screen, as they were before the frame moved or judged them.
    void RestoreNotes() {
        GetPlaySession().redNotes = red;
        GetPlaySession().blueNotes = blue;
    }

    // Frames follow each other faster than in play, so press sounds that would have ended
    // long ago still sound; past a few (as many as overlap in play), they are let go.
    static void ForgetEndedEffects() {
        auto& ending = SoundManager::Get().endingEffects;
        while (ending.size() > 8) ending.pop_front();
    }

    // The Up key of both lanes goes down before even frames and up before odd ones, so every
    // other frame judges a note of each lane and sounds the press effect.
    static void Keys(int64_t frame) {
        const uint32_t code = frame % 2 == 0 ? platform::kMsgKeyDown : platform::kMsgKeyUp;
        DirectX::Keyboard::HandleMessage(code, kRedUp, 0);
        DirectX::Keyboard::HandleMessage(code, kBlueUp, 0);
    }
};

// Runs frames of the prepared screen; the time of each is the frame thread's CPU time.
void TimeFrames(benchmark::State& state, GameSetup& setup, void (*prepare)(Game&)) {
    if (!setup.ok) return state.SkipWithError("the game could not be set up");
    int64_t frame = 0;
    for (auto _ : state) {
        setup.RestoreNotes();
        setup.ForgetEndedEffects();
        prepare(*setup.game);
        GameSetup::Keys(frame++);
        const double t0 = ThreadSeconds();
        const bool ran = setup.loop->RunFrame();
        state.SetIterationTime(ThreadSeconds() - t0);
        if (!ran || setup.loop->currentScene() != setup.game)
            return state.SkipWithError("the scene handed over");
    }
}

// Play screen after the song started: notes moving, judgements, score and time changing.
void PreparePlay(Game& game) {
    game.startCountdown = kSongStart;
    game.musicPending = false;
    game.secondsLeft = 120;
}

// Result screen with the ticker running: its message is put back so it never runs out.
void PrepareResult(Game& game) {
    game.startCountdown = kSongStart;
    game.musicPending = false;
    game.secondsLeft = -1;
    game.resultShown = true;
    if (game.resultMessage.size() < 20) game.resultMessage = L"     ALL Perfect !!!   Bonus +50000";
}

void BM_FramePlayScreen400Notes(benchmark::State& state) {
    GameSetup setup(false);
    TimeFrames(state, setup, PreparePlay);
}

void BM_FrameResultTicker400Notes(benchmark::State& state) {
    GameSetup setup(false);
    TimeFrames(state, setup, PrepareResult);
}

// The whole frame whose update starts the 3-minute song, in wall time: what the slot sees.
void FrameStartingASong(benchmark::State& state, const benchsongs::SongKind* kind) {
    GameSetup setup(true, kind);
    if (!setup.ok) return state.SkipWithError("the game could not be set up");
    for (auto _ : state) {
        setup.RestoreNotes();
        PreparePlay(*setup.game);
        setup.game->startCountdown = kSongStart + 1;
        setup.game->musicPending = true;
        // The song before (the last iteration's) has been fed: the thread is idle, as in play.
        SoundManager::Get().engine->Feeder().WaitForPass();
        const auto t0 = std::chrono::steady_clock::now();
        setup.loop->RunFrame();
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
        if (setup.game->musicPending || !SoundManager::Get().musicInstance)
            return state.SkipWithError("the song did not start");
    }
}

void BM_FrameStartingTheSong(benchmark::State& state) { FrameStartingASong(state, nullptr); }

void BM_FrameStartingTheOggSong(benchmark::State& state) {
    FrameStartingASong(state, &benchsongs::kOgg);
}

// PlayMusic of the 3-minute song alone on the same device, in wall time.
void BM_PlayMusicThreeMinuteSongOnDevice(benchmark::State& state) {
    GameSetup setup(true);
    if (!setup.ok) return state.SkipWithError("the game could not be set up");
    const std::wstring song = kTitle + L"/" + kTitle + L".wav";
    SoundManager::Get().PlayMusic(song, 0.8f);  // warms the page cache
    for (auto _ : state) {
        const auto t0 = std::chrono::steady_clock::now();
        SoundManager::Get().PlayMusic(song, 0.8f);
        state.SetIterationTime(
            std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    }
    state.counters["device"] = SoundManager::Get().engine->IsAudioDevicePresent() ? 1 : 0;
}

}  // namespace

BENCHMARK(BM_FramePlayScreen400Notes)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameResultTicker400Notes)->UseManualTime()->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_FrameStartingTheSong)->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(20);
BENCHMARK(BM_FrameStartingTheOggSong)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
BENCHMARK(BM_PlayMusicThreeMinuteSongOnDevice)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20);
