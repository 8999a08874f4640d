// SoundManager: the one place through which scenes make sound: looping background music
// (declarative, applied in Update), one music at a time, and overlapping effects.
// Depends on: media/AudioEngine, media/SoundEffect, settings/Config, platform/Codepage (messages).
#pragma once

#include <functional>
#include <list>
#include <memory>
#include <string>

namespace DirectX {
class AudioEngine;
class SoundEffect;
class SoundEffectInstance;
}  // namespace DirectX

// One request as a scene made it, kept for tests that watch what a scene asks to hear.
struct SoundCall {
    enum class Kind { BackgroundMusic, Music, Effect };
    Kind kind = Kind::Effect;
    std::wstring name;
    float scale = 0;
    double startMs = 0;  // where the sound starts (PlayMusicAt, PlaySoundEffectAt)
};

class SoundManager {
  public:
    // The single manager, created on first use.
    static SoundManager& Get();
    ~SoundManager();

    // Declared first, so every sound below is released before it.
    std::unique_ptr<DirectX::AudioEngine> engine;
    std::unique_ptr<DirectX::SoundEffectInstance> bgmInstance;
    std::unique_ptr<DirectX::SoundEffect> bgmEffect;
    std::wstring currentBgmPath;
    std::wstring requestedBgmPath;
    std::unique_ptr<DirectX::SoundEffectInstance> seInstance;
    std::unique_ptr<DirectX::SoundEffect> seEffect;
    std::unique_ptr<DirectX::SoundEffectInstance> musicInstance;
    std::unique_ptr<DirectX::SoundEffect> musicEffect;
    float bgmVolume = 0;
    // Earlier sound effects that still sound; each is released once it has played to its end.
    struct EndingEffect {
        std::unique_ptr<DirectX::SoundEffect> effect;  // declared first: outlives its instance
        std::unique_ptr<DirectX::SoundEffectInstance> instance;
    };
    std::list<EndingEffect> endingEffects;
    // When set, every RequestBackgroundMusic, PlayMusic and PlaySoundEffect call is also
    // handed here (scene tests).
    std::function<void(const SoundCall&)> observer;

    // Asks for "Data/Sound/" + name to be looping from the next Update; empty stops it.
    void RequestBackgroundMusic(const std::wstring& name, float scale);
    // Replaces the music slot with "Data/Music/" + name; an empty name only stops it.
    void PlayMusic(const std::wstring& name, float scale);
    // The same, the music starting startMs into itself (after that much silence when
    // negative), to the sample; 0 is PlayMusic exactly.
    void PlayMusicAt(const std::wstring& name, float scale, double startMs);
    // Starts "Data/SE/" + name once, overlapping whatever plays.
    void PlaySoundEffect(const std::wstring& name, float scale);
    // The same, the effect starting startMs into itself (after that much silence when
    // negative), to the sample: a sound placed between two updates.
    void PlaySoundEffectAt(const std::wstring& name, float scale, double startMs);
    // Per frame: applies the background-music request, releases effects that have ended,
    // then runs the engine's update.
    void Update();
    // Stops and releases every sound, instances before their effects (shutdown and tests).
    void ReleaseAll();
};
