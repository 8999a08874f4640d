// App: start-up order, frame loop, shutdown order and exit status.
#include "shell/App.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <sstream>

#include "audio/AudioCapture.h"
#include "audio/SoundManager.h"
#include "gameplay/Autoplay.h"
#include "gameplay/Game.h"
#include "gameplay/RunScore.h"
#include "media/AudioEngine.h"
#include "platform/AudioBackend.h"
#include "platform/Codepage.h"
#include "platform/Gpu.h"
#include "platform/TextEngine.h"
#include "platform/headless/HeadlessHost.h"
#include "platform/sdl/Controllers.h"
#include "platform/sdl/SdlHost.h"
#include "platform/sdl/SdlWindow.h"
#include "replay/ReplayFile.h"
#include "replay/WatchReplay.h"
#include "selection/DirectChoice.h"
#include "selection/MusicChoice.h"
#include "services/GraphicsDevice.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/DisplayFile.h"
#include "settings/KeyBindingsFile.h"
#include "settings/PlayerProfile.h"
#include "settings/Timing.h"
#include "settings/Title.h"
#include "shell/ContentCheck.h"
#include "shell/DataFolders.h"
#include "shell/FrameLoop.h"
#include "shell/FrameSteps.h"
#include "shell/ReplayCheck.h"
#include "shell/ResultLine.h"

namespace {

// Mappings for controllers SDL does not know, in SDL's mapping-string format, one a line.
constexpr const char* kControllerMappingFile = "Controllers.txt";

// Measurements only (docs/performance.md), read from the environment so they stay off the
// command line: LYRANDEL_BENCH_AS_WINDOW=1 draws and presents a headless run's frames as a
// window does and gives it the default sound device; LYRANDEL_BENCH_DRAW_EVERY_FRAME=1 draws
// and presents every frame, as the game did before it skipped frames.
bool BenchSwitch(const char* name) {
    const char* value = std::getenv(name);
    return value && std::string(value) == "1";
}

// Prints one line naming what failed and gives the failure status.
int Fail(const std::string& what) {
    std::fprintf(stderr, "lyrandel: %s\n", what.c_str());
    return 1;
}

// Reads a whole text file; false when it cannot be read.
bool ReadText(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    std::ostringstream text;
    text << in.rdbuf();
    out = text.str();
    return true;
}

// A path given relative to the folder the program was started in, made absolute against it so
// that --data does not move it (empty stays empty).
std::string FromStart(const std::string& start, const std::string& path) {
    if (path.empty() || path[0] == '/') return path;
    return (std::filesystem::path(start) / path).string();
}

// Gives the sound manager its engine: the loopback capture, silence for a headless run
// without one, or the default device (silent when there is none).
bool StartAudio(const Options& options, std::string& error) {
    const bool headless =
        options.mode == Options::Mode::Headless && !BenchSwitch("LYRANDEL_BENCH_AS_WINDOW");
    try {
        if (headless && !options.audioOut.empty()) {
            if (!StartAudioCapture(options.audioOut, &error)) return false;
            SoundManager::Get().engine = std::make_unique<DirectX::AudioEngine>();
        } else if (headless) {
            SoundManager::Get().engine = std::make_unique<DirectX::AudioEngine>(nullptr);
        } else {
            SoundManager::Get().engine = std::make_unique<DirectX::AudioEngine>();
        }
    } catch (const std::exception& e) {
        error = std::string("cannot start the audio engine: ") + e.what();
        return false;
    }
    return true;
}

// The player's timing: the files, this run's --offset, and the latency the device reported.
void StartTiming(const Options& options) {
    LoadTiming();
    GetTiming().runOffsetMs = options.offsetMs;
    const auto& engine = SoundManager::Get().engine;
    GetTiming().deviceLatencyMs = engine ? engine->OutputLatencyMs() : 0.0;
}

// Brings up the services in their order (after the window); false with a reason.
bool StartServices(const Options& options, std::string& error) {
    SoundManager::Get();
    KeyInput::Get();
    TextRenderer::Get();
    GraphicsDevice& device = GraphicsDevice::Get();
    if (!device.CreateDevice())
        return error = "cannot create the drawing device: " + device.lastError, false;
    if (!device.CreateDeviceResources())
        return error = "cannot create the back buffer: " + device.lastError, false;
    if (!TextRenderer::Get().Initialize(L"メイリオ", L"", 14.0f))
        return error = "cannot set up text drawing", false;
    if (!StartAudio(options, error)) return false;
    std::string spriteError;
    if (!CreateSpriteRenderer(&spriteError)) return error = spriteError, false;
    KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
    std::string configError;
    if (!LoadConfig(&configError)) return error = configError, false;
    LoadKeyBindings();
    StartTiming(options);
    return true;
}

// Releases what the start-up created, in the shutdown order, after saving the account; false
// when the account could not be saved (SaveProfile has said why).
bool StopServices() {
    const bool saved = SaveProfile();
    KeyInput::Get().keyboard.reset();
    DestroySpriteRenderer();
    TextRenderer::Get().RemoveFont();
    GraphicsDevice::Get().ClearState();
    return saved;
}

// Frees every GPU object while the window and its context still exist.
void ReleaseGpuObjects() {
    TextureStore::Get().Clear();
    TextRenderer::Get().engine.reset();
    GraphicsDevice::Get().gpu.reset();
}

// What a run starts with: the first scene, the replay it watches, if any, and the folder the
// program was started in (the key script's paths are taken from there).
struct Start {
    std::unique_ptr<Scene> scene;
    std::shared_ptr<const Replay> replay;
    std::string folder;
};

// The first scene: the title screen, the Game scene of a direct start (whose score is not
// recorded when the autoplay plays it), or the one that watches the replay of --replay. False
// with the reason when the replay cannot be read or cannot be played as it was recorded.
bool FirstScene(const Options& options, Start& start, std::string& error) {
    if (!options.replay.empty()) {
        auto replay = std::make_shared<Replay>();
        if (!ReadReplayFile(options.replay, replay.get(), &error)) return false;
        std::unique_ptr<Game> game = WatchReplay(replay, &error);
        if (!game) return false;
        start.scene = std::move(game);
        start.replay = std::move(replay);
        return true;
    }
    if (options.play.empty()) {
        start.scene = std::make_unique<Title>();
        return true;
    }
    auto game = std::make_unique<Game>();
    game->recordsScore = !options.autoplay;
    start.scene = std::move(game);
    return true;
}

// Runs the loop over a host from the first scene to the shutdown; returns the exit status.
// seen tells which frames must be drawn (null: every frame that shows something new).
int RunLoop(platform::Host& host, const Options& options, Start& start,
            std::function<bool(uint64_t)> seen) {
    std::unique_ptr<Scene> first = std::move(start.scene);
    if (!first->Initialize())
        return Fail(options.play.empty() ? "the title screen cannot start"
                                         : "the chart of \"" + options.play + "\" cannot start");
    host.ShowWindow();
    std::optional<Autoplay> autoplay;
    std::unique_ptr<GameFrameSteps> steps = std::make_unique<GameFrameSteps>();
    if (options.autoplay) steps = std::make_unique<AutoplayFrameSteps>(autoplay.emplace());
    if (!BenchSwitch("LYRANDEL_BENCH_DRAW_EVERY_FRAME"))
        steps->drawing.SkipUnseenFrames(std::move(seen));
    FrameLoop loop(host, *steps, std::move(first));
    const FrameLoop::Outcome outcome = loop.Run();
    // Scores that did not reach the disk are a failure, whatever ended the loop.
    const bool saved = StopServices();
    return outcome == FrameLoop::Outcome::Quit && saved ? 0 : 1;
}

// The key script of a headless run, or none (a run that ends by itself) when no file is given;
// the paths of its drops are taken from the start folder.
bool LoadScript(const Options& options, const std::string& start, platform::KeyScript& script,
                std::string& error) {
    if (options.script.empty()) {
        script.quitFrame = std::numeric_limits<uint64_t>::max();
        return true;
    }
    std::string text;
    if (!ReadText(options.script, text))
        return error = "cannot read the key script " + options.script, false;
    if (!platform::ParseKeyScript(text, script, error))
        return error = options.script + ": " + error, false;
    for (auto& [frame, paths] : script.dropped)
        for (std::string& path : paths) path = FromStart(start, path);
    return true;
}

// Prints the result line of each completed run, and after the first run of a replay check its
// verdict; quits after it when the autoplay's run or the replay's is all the headless run has
// to do. A replay that differs sets differs.
void ReportResults(const Options& options, platform::Host& host, ResultWatch& watch,
                   const Replay*& replay, bool& differs) {
    if (!watch.Completed()) return;
    std::printf("%s\n", ResultLine(GetMusicChoice(), GetRunScore()).c_str());
    if (replay) {
        bool matches = false;
        std::printf("%s\n", ReplayVerdict(*replay, GetRunScore(), &matches).c_str());
        differs = !matches;
    }
    std::fflush(stdout);
    if ((options.autoplay || replay) && options.script.empty())
        host.PostMessage({platform::kMsgClose, 0, 0});
    replay = nullptr;  // only the replay's own run is checked
}

// The headless mode: key script, offscreen window, simulated clock.
int RunHeadless(const Options& options, platform::SdlWindow& window, Start& start) {
    std::string error;
    platform::KeyScript script;
    if (!LoadScript(options, start.folder, script, error)) return Fail(error);
    platform::HeadlessHost host(std::move(script));
    KeyInput::Get().dropsSettleAtOnce = host.simulatedClock();
    bool shotFailed = false;
    host.onShot = [&](const std::string& path) {
        if (GraphicsDevice::Get().SaveScreenshot(FromStart(start.folder, path))) return;
        std::fprintf(stderr, "lyrandel: cannot write %s: %s\n", path.c_str(),
                     GraphicsDevice::Get().lastError.c_str());
        shotFailed = true;
    };
    host.quitRequested = platform::QuitSignalled;
    ResultWatch watch;
    const Replay* replay = start.replay.get();
    bool differs = false;
    host.onFrame = [&] {
        if (!options.audioOut.empty()) CaptureAudioFrame();
        ReportResults(options, host, watch, replay, differs);
    };
    (void)window;
    // Only the frames a screenshot is taken after are drawn.
    std::function<bool(uint64_t)> seen = [&host](uint64_t frame) {
        return host.HasShotAfter(frame);
    };
    if (BenchSwitch("LYRANDEL_BENCH_AS_WINDOW")) seen = nullptr;
    const int status = RunLoop(host, options, start, std::move(seen));
    bool audioFailed = false;
    if (!options.audioOut.empty() && !FinishAudioCapture(&error)) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        audioFailed = true;
    }
    return status != 0 ? status : (shotFailed || audioFailed || differs) ? 1 : 0;
}

// Prints one line about something that goes wrong without stopping the game.
void Warn(const std::string& what) { std::fprintf(stderr, "lyrandel: %s\n", what.c_str()); }

// Puts the window in the remembered mode, or the one the command line asks for this run.
void ApplyDisplayChoice(const Options& options, platform::SdlWindow& window) {
    bool fullscreen = false;
    std::string error;
    if (!LoadDisplayChoice(&fullscreen, &error)) Warn(error + " (playing in a window)");
    if (options.display != Options::Display::Remembered)
        fullscreen = options.display == Options::Display::Fullscreen;
    if (fullscreen && !window.SetFullscreen(true, error)) Warn(error);
}

// The desktop mode: the window, the keyboard and the game controllers on the real clock.
int RunDesktop(const Options& options, platform::SdlWindow& window, Start& start) {
    ApplyDisplayChoice(options, window);
    platform::Controllers controllers;
    if (!controllers.started()) Warn(controllers.error());
    for (const std::string& problem : controllers.LoadMappings(kControllerMappingFile))
        Warn(problem);
    controllers.onNotice = Warn;
    controllers.OpenAttached();
    platform::SdlHost host(window, &controllers);
    host.onFullscreenChanged = [](bool fullscreen) {
        std::string error;
        if (!SaveDisplayChoice(fullscreen, &error)) Warn(error);
    };
    // The back buffer keeps the last frame drawn: a window that needs its picture again gets it
    // at once, even while the frames show nothing new.
    host.onExposed = [] { GraphicsDevice::Get().Present(); };
    return RunLoop(host, options, start, nullptr);
}

}  // namespace

int RunCheck(const Options& options) {
    std::string error;
    if (!EnterCheckFolders(options.dataDir, &error)) return Fail(error);
    return RunContentCheck();
}

int RunApp(const Options& options) {
    platform::PrepareAudioOutput();  // while this is the only thread
    Start start;
    start.folder = std::filesystem::current_path().string();
    Options opts = options;
    opts.script = FromStart(start.folder, opts.script);
    opts.audioOut = FromStart(start.folder, opts.audioOut);
    opts.replay = FromStart(start.folder, opts.replay);
    std::string error;
    if (!EnterGameFolders(opts.dataDir, &error)) return Fail(error);
    if (!opts.play.empty() && !ChooseDirectly(platform::Utf8ToWide(opts.play), opts.level, error))
        return Fail(error);
    if (!FirstScene(opts, start, error)) return Fail(error);
    platform::InstallQuitSignals();
    const bool headless = opts.mode == Options::Mode::Headless;
    platform::SdlWindow window;
    if (!window.Create(headless, error)) return Fail(error);
    GraphicsDevice::Get().window = window.handle();
    int status;
    if (!StartServices(opts, error)) {
        status = Fail(error);
    } else if (headless) {
        status = RunHeadless(opts, window, start);
    } else {
        status = RunDesktop(opts, window, start);
    }
    ReleaseGpuObjects();
    return status;
}
