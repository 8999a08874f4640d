// DirectX::SoundEffectInstance: one playback of a SoundEffect on a voice of its own: Play once
// or looping (with the file's loop region), Stop, SetVolume. A sound that has played to its
// end stays in the playing state, as the engine reports it.
// Depends on: nothing beyond the standard library (the implementation lives with SoundEffect).
#pragma once

#include <cstdint>
#include <memory>

namespace DirectX {

enum class SoundState { STOPPED = 0, PLAYING = 1, PAUSED = 2 };

// Instance flag: play on one of the voices the engine keeps back, so that no number of other
// sounds can leave this one without a voice (the music slots).
constexpr uint32_t kInstanceReservedVoice = 0x1000000;

class SoundEffectInstance {
  public:
    ~SoundEffectInstance();
    SoundEffectInstance(const SoundEffectInstance&) = delete;
    SoundEffectInstance& operator=(const SoundEffectInstance&) = delete;

    // Starts a stopped instance from the beginning; does nothing while playing.
    void Play(bool loop = false);
    // Immediate: silent at once and stopped. Otherwise a loop plays out to the end.
    void Stop(bool immediate = true);
    // Linear gain, kept for a voice made later.
    void SetVolume(float volume);
    // Where the next Play starts, in milliseconds: later into the sound when positive, after
    // that much silence when negative, rounded to the sound's nearest sample frame. 0 (the
    // start) unless set.
    void SetStartOffset(double milliseconds);
    // Stopped until the first Play; playing after it until stopped.
    SoundState GetState() const;
    // True while the voice still has samples to play (false on a silent engine).
    bool IsSounding() const;

    class Impl;

  private:
    friend class SoundEffect;
    explicit SoundEffectInstance(std::unique_ptr<Impl> impl);
    std::unique_ptr<Impl> impl_;
};

}  // namespace DirectX
