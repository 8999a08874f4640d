// SoundManager: the one place through which scenes make sound: looping background music
// (declarative, applied in Update), one music at a time, and overlapping effects.
// Depends on: media/AudioEngine, media/SoundEffect, settings/Config.
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
};

class SoundManager {
  public:
    // The single manager, created on first use.
    static SoundManager& Get();
    ~SoundManager();

    std::unique_ptr<DirectX::AudioEngine> engine;
    std::wstring currentBgmPath;
    std::wstring requestedBgmPath;
    float bgmVolume = 0;
    // When set, every RequestBackgroundMusic, PlayMusic and PlaySoundEffect call is also
    // handed here (scene tests).
    std::function<void(const SoundCall&)> observer;

    // Asks for "Data/Sound/" + name to be looping from the next Update; empty stops it.
    void RequestBackgroundMusic(const std::wstring& name, float scale);
    // Replaces the music slot with "Data/Music/" + name; an empty name only stops it.
    void PlayMusic(const std::wstring& name, float scale);
    // Starts "Data/SE/" + name once, overlapping whatever plays.
    void PlaySoundEffect(const std::wstring& name, float scale);
    // Per frame: applies the background-music request, then the engine's update.
    void Update();
};
