// App: start-up order, frame loop, shutdown order and exit status.
#include "shell/App.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "audio/AudioCapture.h"
#include "audio/SoundManager.h"
#include "media/AudioEngine.h"
#include "platform/Gpu.h"
#include "platform/TextEngine.h"
#include "platform/headless/HeadlessHost.h"
#include "platform/sdl/SdlHost.h"
#include "platform/sdl/SdlWindow.h"
#include "selection/MusicChoice.h"
#include "services/GraphicsDevice.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/PlayerProfile.h"
#include "settings/Title.h"
#include "shell/ContentCheck.h"
#include "shell/FrameLoop.h"
#include "shell/FrameSteps.h"

namespace {

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

// Runs the loop over a host from the first scene to the shutdown; returns the exit status.
int RunLoop(platform::Host& host) {
    auto title = std::make_unique<Title>();
    if (!title->Initialize()) return Fail("the title screen cannot start");
    host.ShowWindow();
    GameFrameSteps steps;
    FrameLoop loop(host, steps, std::move(title));
    const FrameLoop::Outcome outcome = loop.Run();
    // Scores that did not reach the disk are a failure, whatever ended the loop.
    const bool saved = StopServices();
    return outcome == FrameLoop::Outcome::Quit && saved ? 0 : 1;
}

// The headless mode: key script, offscreen window, simulated clock.
int RunHeadless(const Options& options, platform::SdlWindow& window) {
    std::string text, error;
    if (!ReadText(options.script, text))
        return Fail("cannot read the key script " + options.script);
    platform::KeyScript script;
    if (!platform::ParseKeyScript(text, script, error)) return Fail(options.script + ": " + error);
    platform::HeadlessHost host(std::move(script));
    bool shotFailed = false;
    host.onShot = [&](const std::string& path) {
        if (GraphicsDevice::Get().SaveScreenshot(Absolute(path))) return;
        std::fprintf(stderr, "lyrandel: cannot write %s: %s\n", path.c_str(),
                     GraphicsDevice::Get().lastError.c_str());
        shotFailed = true;
    };
    host.quitRequested = platform::QuitSignalled;
    if (!options.audioOut.empty()) host.onFrame = CaptureAudioFrame;
    (void)window;
    const int status = RunLoop(host);
    bool audioFailed = false;
    if (!options.audioOut.empty() && !FinishAudioCapture(&error)) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        audioFailed = true;
    }
    return status != 0 ? status : (shotFailed || audioFailed) ? 1 : 0;
}

}  // namespace

int RunCheck(const Options& options) {
    if (!options.dataDir.empty() && chdir(options.dataDir.c_str()) != 0)
        return Fail("cannot enter the content directory " + options.dataDir);
    return RunContentCheck();
}

int RunApp(const Options& options) {
    Options opts = options;
    opts.script = Absolute(opts.script);
    opts.audioOut = Absolute(opts.audioOut);
    if (!opts.dataDir.empty() && chdir(opts.dataDir.c_str()) != 0)
        return Fail("cannot enter the content directory " + opts.dataDir);
    platform::InstallQuitSignals();
    const bool headless = opts.mode == Options::Mode::Headless;
    platform::SdlWindow window;
    std::string error;
    if (!window.Create(headless, error)) return Fail(error);
    GraphicsDevice::Get().window = window.handle();
    int status;
    if (!StartServices(opts, error)) {
        status = Fail(error);
    } else if (headless) {
        status = RunHeadless(opts, window);
    } else {
        platform::SdlHost host(window);
        status = RunLoop(host);
    }
    ReleaseGpuObjects();
    return status;
}
