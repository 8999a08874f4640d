// The selection over a library of 10,000 songs (bench/BigLibrary.h), through the frame loop's
// own steps with the GPU replaced by the null back end and the text engine and the sound device
// (OpenAL's "No Output" driver under bench.sh) real: the frame in which the selection opens
// (its Initialize with the music list, every jacket's header, the packs and the search's folded
// texts, and its first draw with the jackets it shows) in wall time, what the slot sees; the
// frames of stepping through the list with A and D pressed and held (a held key steps at full
// speed after 2 s), in the frame thread's CPU time (the frame's own cost, as the play screen's
// frames are measured), with the longest of them in CPU and in wall time; the frames of search
// keystrokes; and the frames that change the order or the grouping.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <limits>
#include <typeinfo>

#include "BigLibrary.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "media/Keyboard.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "platform/Messages.h"
#include "platform/NullGpu.h"
#include "platform/headless/HeadlessHost.h"
#include "selection/JacketWarmUp.h"
#include "selection/MusicChoice.h"
#include "selection/SelectMusic.h"
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

constexpr int kSongs = 10000;
// Songs stepped through one by one in a pass of the stepping benchmark.
constexpr int kStepped = 1000;
constexpr uint32_t kA = 0x41, kD = 0x44, kF = 0x46, kG = 0x47, kO = 0x4F, kBack = 0x08;

// The library, made once per process (and kept beside the demo content for later runs):
// LYRANDEL_BENCH_LIBRARY when set, else "bench-library" beside the demo content.
const fs::path& Library(std::string* error) {
    static std::string failure;
    static const fs::path dir = [] {
        const char* given = std::getenv("LYRANDEL_BENCH_LIBRARY");
        const fs::path demo = FindDemoContent();
        if (demo.empty()) return failure = "no demo content", fs::path();
        const fs::path out = given ? fs::path(given) : demo.parent_path() / "bench-library";
        return MakeBigLibrary(demo, out, kSongs, &failure) ? out : fs::path();
    }();
    if (error) *error = failure;
    return dir;
}

// A scene whose first update hands over to the selection, as the title screen does on Space.
class OpensSelection : public Scene {
  public:
    bool Initialize() override { return true; }
    Scene* Update() override { return new SelectMusic; }
    void DrawSprites() override {}
    void DrawTexts() override {}
};

// Thread CPU time now, in seconds: the frame's own cost, not the sound mixer's thread.
double ThreadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// What one frame of the loop took: wall and thread CPU seconds.
struct FrameTime {
    double wall = 0;
    double cpu = 0;
};
FrameTime TimedFrame(FrameLoop& loop) {
    const double c0 = ThreadSeconds();
    const auto t0 = std::chrono::steady_clock::now();
    loop.RunFrame();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(),
            ThreadSeconds() - c0};
}

// The game's services over the null GPU, in the library's folder, for one benchmark.
struct SelectionSetup {
    fs::path home = fs::current_path();
    platform::HeadlessHost host{NoScript()};
    GameFrameSteps steps;
    std::string error;
    bool ok = false;

    SelectionSetup() {
        const fs::path& library = Library(&error);
        if (library.empty()) return;
        fs::current_path(library);
        GetConfig() = Config{};
        ClearProfile();
        GetMusicChoice() = MusicChoice{};
        auto gpu = std::make_unique<platform::NullGpu>();
        gpu->keepVertices = false;
        GraphicsDevice::Get().gpu = std::move(gpu);
        GraphicsDevice::Get().CreateDeviceResources();
        TextRenderer::Get().Initialize(L"メイリオ", L"", 14.0f);
        if (!CreateSpriteRenderer(&error)) return;
        KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
        SoundManager::Get().engine = std::make_unique<DirectX::AudioEngine>();
        ok = true;
    }

    ~SelectionSetup() {
        SoundManager::Get().ReleaseAll();
        SoundManager::Get().engine.reset();
        KeyInput::Get().keyboard.reset();
        DestroySpriteRenderer();
        TextureStore::Get().Clear();
        TextRenderer::Get().ReleaseDeviceResources();
        GraphicsDevice::Get().gpu.reset();
        fs::current_path(home);
    }

    // A key script that never closes the window.
    static platform::KeyScript NoScript() {
        platform::KeyScript script;
        script.quitFrame = std::numeric_limits<uint64_t>::max();
        return script;
    }

    // A loop whose next frame opens the selection, with nothing of an earlier visit kept.
    std::unique_ptr<FrameLoop> Fresh() {
        TextureStore::Get().Clear();
        return std::make_unique<FrameLoop>(host, steps, std::make_unique<OpensSelection>());
    }
};

// One key going down or up.
void Key(uint32_t code, bool down) {
    DirectX::Keyboard::HandleMessage(down ? platform::kMsgKeyDown : platform::kMsgKeyUp, code, 0);
}

// Frames of one pass of the stepping, and how long a key is held in it (6.4 s: past the 2 s
// after which a held key steps every 25 ms).
constexpr int64_t kThrough = 2 * kStepped, kHeld = 400, kBackSteps = 200;
constexpr int64_t kSteppingPass = kThrough + kHeld + kBackSteps + kHeld;

// Sets the key messages before frame f of the stepping: D pressed every other frame through
// kStepped songs, A held, A pressed every other frame, D held; then again.
void SteppingKeys(int64_t f) {
    const int64_t p = f % kSteppingPass;
    auto key = Key;
    if (p < kThrough) return key(kD, p % 2 == 0);
    if (p < kThrough + kHeld) return key(kA, true);
    if (p < kThrough + kHeld + kBackSteps) return key(kA, p % 2 == 1);
    key(kA, false);
    key(kD, true);
}

void BM_SelectionOpen10000Songs(benchmark::State& state) {
    SelectionSetup setup;
    if (!setup.ok) return state.SkipWithError(setup.error.c_str());
    for (auto _ : state) {
        std::unique_ptr<FrameLoop> loop = setup.Fresh();
        state.SetIterationTime(TimedFrame(*loop).wall);
        if (!loop->currentScene() || typeid(*loop->currentScene()) != typeid(SelectMusic))
            return state.SkipWithError("the selection did not open");
    }
}

// The same frame after the title screen's warm-up has read the jackets' headers (as when the
// player stays on the title for a moment before Space).
void BM_SelectionOpenAfterTitle10000Songs(benchmark::State& state) {
    SelectionSetup setup;
    if (!setup.ok) return state.SkipWithError(setup.error.c_str());
    for (auto _ : state) {
        std::unique_ptr<FrameLoop> loop = setup.Fresh();
        StartJacketWarmUp();
        TextureStore::Get().jackets().FinishWarmUp();
        state.SetIterationTime(TimedFrame(*loop).wall);
        if (!loop->currentScene() || typeid(*loop->currentScene()) != typeid(SelectMusic))
            return state.SkipWithError("the selection did not open");
    }
}

void BM_SelectionStepping10000Songs(benchmark::State& state) {
    SelectionSetup setup;
    if (!setup.ok) return state.SkipWithError(setup.error.c_str());
    std::unique_ptr<FrameLoop> loop = setup.Fresh();
    loop->RunFrame();
    FrameTime longest;
    int64_t frame = 0, over = 0, wallOver = 0;
    for (auto _ : state) {
        SteppingKeys(frame++);
        auto& ending = SoundManager::Get().endingEffects;  // card sounds of steps long past
        while (ending.size() > 8) ending.pop_front();
        const FrameTime t = TimedFrame(*loop);
        state.SetIterationTime(t.cpu);
        longest = {std::max(longest.wall, t.wall), std::max(longest.cpu, t.cpu)};
        over += t.cpu > 0.004;
        wallOver += t.wall > 0.004;
    }
    state.counters["longest_frame_cpu_ms"] = longest.cpu * 1000;
    state.counters["frames_over_4ms_cpu"] = double(over);
    state.counters["longest_frame_wall_ms"] = longest.wall * 1000;
    state.counters["frames_over_4ms_wall"] = double(wallOver);
    state.counters["jackets_held"] = double(TextureStore::Get().jackets().size());
}

// Typed "lanterns 0042" a character a frame, then erased with Backspace, each frame timed; the
// time of each keystroke's frame in CPU, the longest in counters.
void BM_SelectionSearch10000Songs(benchmark::State& state) {
    SelectionSetup setup;
    if (!setup.ok) return state.SkipWithError(setup.error.c_str());
    std::unique_ptr<FrameLoop> loop = setup.Fresh();
    loop->RunFrame();
    Key(kF, true), loop->RunFrame(), Key(kF, false), loop->RunFrame();
    const std::wstring typed = L"lanterns 0042";
    FrameTime longest;
    size_t i = 0;
    for (auto _ : state) {
        const size_t k = i++ % (2 * typed.size());
        if (k < typed.size()) KeyInput::Get().AddTypedChar(static_cast<uint32_t>(typed[k]));
        if (k >= typed.size()) Key(kBack, true);
        const FrameTime t = TimedFrame(*loop);
        if (k >= typed.size()) Key(kBack, false);
        state.SetIterationTime(t.cpu);
        longest = {std::max(longest.wall, t.wall), std::max(longest.cpu, t.cpu)};
        loop->RunFrame();  // the key's release
    }
    state.counters["longest_frame_cpu_ms"] = longest.cpu * 1000;
    state.counters["longest_frame_wall_ms"] = longest.wall * 1000;
}

// O pressed through the seven orders twice, G toggled after each; the frames of the presses.
void BM_SelectionOrder10000Songs(benchmark::State& state) {
    SelectionSetup setup;
    if (!setup.ok) return state.SkipWithError(setup.error.c_str());
    std::unique_ptr<FrameLoop> loop = setup.Fresh();
    loop->RunFrame();
    FrameTime longest;
    int i = 0;
    for (auto _ : state) {
        Key(i++ % 3 == 2 ? kG : kO, true);
        const FrameTime t = TimedFrame(*loop);
        Key(kG, false), Key(kO, false);
        loop->RunFrame();
        state.SetIterationTime(t.cpu);
        longest = {std::max(longest.wall, t.wall), std::max(longest.cpu, t.cpu)};
    }
    state.counters["longest_frame_cpu_ms"] = longest.cpu * 1000;
    state.counters["longest_frame_wall_ms"] = longest.wall * 1000;
    std::remove("Selection.cfg");  // the library is shared by the other benchmarks
}

// The largest value of the repetitions.
double Largest(const std::vector<double>& v) { return *std::max_element(v.begin(), v.end()); }

}  // namespace

BENCHMARK(BM_SelectionOpen10000Songs)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_SelectionOpenAfterTitle10000Songs)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10);
BENCHMARK(BM_SelectionStepping10000Songs)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(2 * kSteppingPass)
    ->ComputeStatistics("max", Largest);
BENCHMARK(BM_SelectionSearch10000Songs)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(4 * 26)
    ->ComputeStatistics("max", Largest);
BENCHMARK(BM_SelectionOrder10000Songs)
    ->UseManualTime()
    ->Unit(benchmark::kMicrosecond)
    ->Iterations(21)
    ->ComputeStatistics("max", Largest);
