// DirectX::AudioEngine: the one sound output of the program, running on a device or silent
// (no device at start, or the device was lost). Effects and instances register with it to be
// told when it fails or goes away, and take their voices from it; a few voices are kept back
// for the music slots, so that however many effects sound, the music always has a voice. It
// owns the feeder thread of streamed sounds.
// Depends on: platform/AudioBackend.h, media/StreamFeeder.h, media/WAVFileReader.h (the
// optional mix format).
#pragma once

#include <cstdint>
#include <memory>
#include <set>
#include <vector>

#include "media/StreamFeeder.h"
#include "platform/AudioBackend.h"

namespace DirectX {

struct WaveFormat;

// Engine-wide events that every live effect and instance hears about.
class IVoiceNotify {
  public:
    // The device was lost: drop voices and buffers without touching them again.
    virtual void OnCriticalError() = 0;
    // The engine is going away: stop and free voices and buffers, forget the engine.
    virtual void OnDestroyEngine() = 0;
    // Once per frame, for objects in the update set.
    virtual void OnUpdate() {}

  protected:
    ~IVoiceNotify() = default;
};

// Raise "AudioEngineNoAudioHW" instead of running silent when there is no device.
constexpr uint32_t kAudioEngineThrowOnNoAudioHw = 0x20000;
// Voices kept back for instances that ask for one (the background music and the music).
constexpr size_t kReservedVoices = 2;

class AudioEngine {
  public:
    // Opens the default device (or the loopback device when selected); no device gives a
    // silent engine. A given format must be PCM, 1 to 64 channels, 1000 to 200000 Hz.
    // Any other failure raises "AudioEngine".
    explicit AudioEngine(uint32_t flags = 0, const WaveFormat* format = nullptr);
    // Runs on the given back end; nullptr gives a silent engine (tests).
    explicit AudioEngine(std::unique_ptr<platform::AudioBackend> backend);
    ~AudioEngine();
    AudioEngine(const AudioEngine&) = delete;
    AudioEngine& operator=(const AudioEngine&) = delete;

    // Once per frame: true while running; a lost device makes the engine silent for good.
    // Tops up the streamed sounds that run low.
    bool Update();
    // True while a device is open.
    bool IsAudioDevicePresent() const { return backend_ != nullptr; }
    // True once the device has been lost.
    bool IsCriticalError() const { return criticalError_; }
    // The latency the device reported for its output, in milliseconds; 0 while silent.
    double OutputLatencyMs() const { return backend_ ? backend_->OutputLatencyMs() : 0; }

    // The open back end, or nullptr while silent.
    platform::AudioBackend* Backend() const { return backend_.get(); }
    // A voice for an instance, one kept back when reserved is set and one is free; 0 while
    // silent. Raises "Too many instance voices" or "CreateSourceVoice" (no voice left).
    platform::VoiceId AllocateVoice(bool reserved);
    // Gives back an instance's voice; a reserved one is kept for the next.
    void DestroyVoice(platform::VoiceId voice, bool reserved);
    // The thread that feeds streamed sounds.
    StreamFeeder& Feeder() { return feeder_; }
    // Adds or removes an object from the set told about engine-wide events.
    void RegisterNotify(IVoiceNotify* notify);
    void UnregisterNotify(IVoiceNotify* notify);
    // Adds or removes an object from the set called on every running Update.
    void RegisterUpdate(IVoiceNotify* notify);
    void UnregisterUpdate(IVoiceNotify* notify);

  private:
    // Drops every voice and the device after a loss.
    void EnterCriticalError();

    // Sets the kept-back voices aside.
    void ReserveVoices();
    // Frees the kept-back voices.
    void ReleaseReservedVoices();

    std::unique_ptr<platform::AudioBackend> backend_;
    StreamFeeder feeder_;  // after the back end: its thread stops before the device closes
    std::vector<platform::VoiceId> reserved_;
    std::set<IVoiceNotify*> notifySet_;
    std::set<IVoiceNotify*> updateSet_;
    uint32_t instanceVoiceCount_ = 0;
    uint32_t instanceVoiceLimit_ = 0xFFFFFFFF;
    bool criticalError_ = false;
};

}  // namespace DirectX
