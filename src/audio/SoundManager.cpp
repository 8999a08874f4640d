// SoundManager: the three slots (background music, music, sound effects), volumes from Config
// at call time, and a sound file that cannot be played leaving its slot silent with one line
// on stderr instead of stopping the game. The two music slots play on voices the engine keeps
// back, so no number of effects can silence them.
// Depends on: audio/SoundManager.h, media/AudioEngine.h, media/SoundEffect.h,
// media/SystemError.h, settings/Config.h, platform/Codepage.h, platform/files/ContentFiles.h (where
// a sound file is found).
#include "audio/SoundManager.h"

#include <cstdio>
#include <exception>

#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "media/SystemError.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "settings/Config.h"

namespace {

const std::wstring kSoundDir = L"Data/Sound/";
const std::wstring kMusicDir = L"Data/Music/";
const std::wstring kEffectDir = L"Data/SE/";

using Instance = std::unique_ptr<DirectX::SoundEffectInstance>;
using Effect = std::unique_ptr<DirectX::SoundEffect>;

// A short reading of a result code for the player, when no system error stands behind it.
const char* Describe(DirectX::HRESULT hr) {
    switch (hr) {
        case DirectX::kNotSupported:
            return "unsupported sound format";
        case DirectX::kInvalidArg:
            return "sound format that cannot be played";
        case DirectX::kOutOfMemory:
            return "out of memory";
        default:
            return "not a usable WAV file";
    }
}

// Stops a slot at once and releases its instance, then its effect.
void ReleaseSlot(Instance& instance, Effect& effect) {
    if (instance) instance->Stop(true);
    instance.reset();
    effect.reset();
}

// Why a file could not be used: the system's own words for a system error, a decoder's
// reason, or what the code means.
std::string Reason(const DirectX::SoundEffectError& e) {
    if (e.systemError() != 0) return DirectX::SystemErrorText(e.systemError());
    if (!e.detail().empty()) return e.detail();
    return Describe(e.result());
}

// Loads path and starts it in the slot at the volume; on failure the slot stays empty and
// one line on stderr names the file, the reason and the code.
void StartSlot(DirectX::AudioEngine* engine, const std::wstring& path, float volume, bool loop,
               uint32_t flags, Instance& instance, Effect& effect, double startMs = 0) {
    try {
        effect = std::make_unique<DirectX::SoundEffect>(
            engine, platform::Utf8ToWide(platform::ContentPath(path)));
        instance = effect->CreateInstance(flags);
        instance->SetVolume(volume);
        if (startMs != 0) instance->SetStartOffset(startMs);
        instance->Play(loop);
    } catch (const DirectX::SoundEffectError& e) {
        std::fprintf(stderr, "lyrandel: %s: %s (error %08X); playing nothing\n",
                     platform::WideToUtf8(path).c_str(), Reason(e).c_str(), unsigned(e.result()));
        ReleaseSlot(instance, effect);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lyrandel: %s: the sound could not start (%s); playing nothing\n",
                     platform::WideToUtf8(path).c_str(), e.what());
        ReleaseSlot(instance, effect);
    }
}

}  // namespace

SoundManager& SoundManager::Get() {
    static SoundManager manager;
    return manager;
}

SoundManager::~SoundManager() { ReleaseAll(); }

void SoundManager::RequestBackgroundMusic(const std::wstring& name, float scale) {
    if (observer) observer({SoundCall::Kind::BackgroundMusic, name, scale});
    requestedBgmPath = kSoundDir + name;
    bgmVolume = GetConfig().Volume * scale * GetConfig().BGMVolume;
}

void SoundManager::PlayMusic(const std::wstring& name, float scale) { PlayMusicAt(name, scale, 0); }

void SoundManager::PlayMusicAt(const std::wstring& name, float scale, double startMs) {
    if (observer) observer({SoundCall::Kind::Music, name, scale, startMs});
    std::wstring path = kMusicDir + name;
    ReleaseSlot(musicInstance, musicEffect);
    if (path == kMusicDir || !engine) return;
    float volume = GetConfig().Volume * scale * GetConfig().BGMVolume;
    StartSlot(engine.get(), path, volume, false, DirectX::kInstanceReservedVoice, musicInstance,
              musicEffect, startMs);
}

void SoundManager::PlaySoundEffect(const std::wstring& name, float scale) {
    PlaySoundEffectAt(name, scale, 0);
}

void SoundManager::PlaySoundEffectAt(const std::wstring& name, float scale, double startMs) {
    if (observer) observer({SoundCall::Kind::Effect, name, scale, startMs});
    if (!engine) return;
    // The earlier effect sounds on to its end; Update releases it then.
    if (seInstance || seEffect)
        endingEffects.push_back({std::move(seEffect), std::move(seInstance)});
    float volume = GetConfig().Volume * scale * GetConfig().SEVolume;
    StartSlot(engine.get(), kEffectDir + name, volume, false, 0, seInstance, seEffect, startMs);
}

void SoundManager::Update() {
    if (requestedBgmPath != currentBgmPath) {
        ReleaseSlot(bgmInstance, bgmEffect);
        // A request that fails to load is still taken as current, so it is not read again
        // every frame; another request is tried as usual.
        if (requestedBgmPath != kSoundDir && engine)
            StartSlot(engine.get(), requestedBgmPath, bgmVolume, true,
                      DirectX::kInstanceReservedVoice, bgmInstance, bgmEffect);
        currentBgmPath = requestedBgmPath;
    }
    endingEffects.remove_if(
        [](const EndingEffect& e) { return !e.instance || !e.instance->IsSounding(); });
    if (engine) engine->Update();
}

void SoundManager::ReleaseAll() {
    ReleaseSlot(bgmInstance, bgmEffect);
    ReleaseSlot(musicInstance, musicEffect);
    ReleaseSlot(seInstance, seEffect);
    for (EndingEffect& e : endingEffects) ReleaseSlot(e.instance, e.effect);
    endingEffects.clear();
}
