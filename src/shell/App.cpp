// App: start-up order, frame loop, shutdown order and exit status.
#include "shell/App.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
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
#include "selection/DirectChoice.h"
#include "selection/MusicChoice.h"
#include "services/GraphicsDevice.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/DisplayFile.h"
#include "settings/PlayerProfile.h"
#include "settings/Timing.h"
#include "settings/Title.h"
#include "shell/ContentCheck.h"
#include "shell/DataFolders.h"
#include "shell/FrameLoop.h"
#include "shell/FrameSteps.h"
#include "shell/ResultLine.h"

namespace {

// Mappings for controllers SDL does not know, in SDL's mapping-string format, one a line.
constexpr const char* kControllerMappingFile = "Controllers.txt";

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

// Makes a path absolute against the start directory, so --data does not move it.
std::string Absolute(const std::string& path) {
    if (path.empty()) return path;
    return std::filesystem::absolute(path).string();
}

// Gives the sound manager its engine: the loopback capture, silence for a headless run
// without one, or the default device (silent when there is none).
bool StartAudio(const Options& options, std::string& error) {
    const bool headless = options.mode == Options::Mode::Headless;
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

// The first scene: the title screen, or the Game scene of a direct start, whose score is not
// recorded when the autoplay plays it.
std::unique_ptr<Scene> FirstScene(const Options& options) {
    if (options.play.empty()) return std::make_unique<Title>();
    auto game = std::make_unique<Game>();
    game->recordsScore = !options.autoplay;
    return game;
}

// Runs the loop over a host from the first scene to the shutdown; returns the exit status.
int RunLoop(platform::Host& host, const Options& options) {
    std::unique_ptr<Scene> first = FirstScene(options);
    if (!first->Initialize())
        return Fail(options.play.empty() ? "the title screen cannot start"
                                         : "the chart of \"" + options.play + "\" cannot start");
    host.ShowWindow();
    std::optional<Autoplay> autoplay;
    std::unique_ptr<FrameSteps> steps = std::make_unique<GameFrameSteps>();
    if (options.autoplay) steps = std::make_unique<AutoplayFrameSteps>(autoplay.emplace());
    FrameLoop loop(host, *steps, std::move(first));
    const FrameLoop::Outcome outcome = loop.Run();
    // Scores that did not reach the disk are a failure, whatever ended the loop.
    const bool saved = StopServices();
    return outcome == FrameLoop::Outcome::Quit && saved ? 0 : 1;
}

// The key script of a headless run, or none (a run that ends by itself) when no file is given.
bool LoadScript(const Options& options, platform::KeyScript& script, std::string& error) {
    if (options.script.empty()) {
        script.quitFrame = std::numeric_limits<uint64_t>::max();
        return true;
    }
    std::string text;
    if (!ReadText(options.script, text))
        return error = "cannot read the key script " + options.script, false;
    if (!platform::ParseKeyScript(text, script, error))
        return error = options.script + ": " + error, false;
    return true;
}

// Prints the result line of each completed run; quits after it when the autoplay's run is all
// the headless run has to do.
void ReportResults(const Options& options, platform::Host& host, ResultWatch& watch) {
    if (!watch.Completed()) return;
    std::printf("%s\n", ResultLine(GetMusicChoice(), GetRunScore()).c_str());
    std::fflush(stdout);
    if (options.autoplay && options.script.empty()) host.PostMessage({platform::kMsgClose, 0, 0});
}

// The headless mode: key script, offscreen window, simulated clock.
int RunHeadless(const Options& options, platform::SdlWindow& window) {
    std::string error;
    platform::KeyScript script;
    if (!LoadScript(options, script, error)) return Fail(error);
    platform::HeadlessHost host(std::move(script));
    bool shotFailed = false;
    host.onShot = [&](const std::string& path) {
        if (GraphicsDevice::Get().SaveScreenshot(Absolute(path))) return;
        std::fprintf(stderr, "lyrandel: cannot write %s: %s\n", path.c_str(),
                     GraphicsDevice::Get().lastError.c_str());
        shotFailed = true;
    };
    host.quitRequested = platform::QuitSignalled;
    ResultWatch watch;
    host.onFrame = [&] {
        if (!options.audioOut.empty()) CaptureAudioFrame();
        ReportResults(options, host, watch);
    };
    (void)window;
    const int status = RunLoop(host, options);
    bool audioFailed = false;
    if (!options.audioOut.empty() && !FinishAudioCapture(&error)) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        audioFailed = true;
    }
    return status != 0 ? status : (shotFailed || audioFailed) ? 1 : 0;
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
int RunDesktop(const Options& options, platform::SdlWindow& window) {
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
    return RunLoop(host, options);
}

}  // namespace

int RunCheck(const Options& options) {
    std::string error;
    if (!EnterCheckFolders(options.dataDir, &error)) return Fail(error);
    return RunContentCheck();
}

int RunApp(const Options& options) {
    platform::PrepareAudioOutput();  // while this is the only thread
    Options opts = options;
    opts.script = Absolute(opts.script);
    opts.audioOut = Absolute(opts.audioOut);
    std::string error;
    if (!EnterGameFolders(opts.dataDir, &error)) return Fail(error);
    if (!opts.play.empty() && !ChooseDirectly(platform::Utf8ToWide(opts.play), opts.level, error))
        return Fail(error);
    platform::InstallQuitSignals();
    const bool headless = opts.mode == Options::Mode::Headless;
    platform::SdlWindow window;
    if (!window.Create(headless, error)) return Fail(error);
    GraphicsDevice::Get().window = window.handle();
    int status;
    if (!StartServices(opts, error)) {
        status = Fail(error);
    } else if (headless) {
        status = RunHeadless(opts, window);
    } else {
        status = RunDesktop(opts, window);
    }
    ReleaseGpuObjects();
    return status;
}
