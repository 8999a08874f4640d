// The implementation objects behind SoundEffect and SoundEffectInstance, which know each other:
// an effect tells its instances when it goes away; an instance plays its effect's buffer.
// Internal to the media layer. Depends on: media/AudioEngine.h, media/WAVFileReader.h.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/WAVFileReader.h"

namespace DirectX {

class SoundEffect::Impl final : public IVoiceNotify {
  public:
    explicit Impl(AudioEngine* engine);
    ~Impl();
    // Reads, checks and uploads the file; raises SoundEffectError.
    void Load(const std::wstring& fileName);

    void OnCriticalError() override;
    void OnDestroyEngine() override;

    AudioEngine* engine = nullptr;
    std::unique_ptr<uint8_t[]> fileData;
    size_t fileBytes = 0;
    WaveFileInfo info;
    WaveFormat format;
    std::vector<float> converted;  // samples in a layout made for the back end, if needed
    platform::BufferId buffer = 0;
    std::list<SoundEffectInstance::Impl*> instances;

  private:
    // Checks the read result and takes over its data; a failure code or kOk.
    HRESULT Initialize();
    // Frees the device buffer while the engine still runs.
    void ReleaseBuffer();
};

class SoundEffectInstance::Impl final : public IVoiceNotify {
  public:
    Impl(AudioEngine* engine, SoundEffect::Impl* effect);
    ~Impl();

    void Play(bool loop);
    void Stop(bool immediate);
    void SetVolume(float volume);
    bool IsSounding() const;

    void OnCriticalError() override;
    void OnDestroyEngine() override;
    // The effect is going away: fall silent and forget it and the engine.
    void OnDestroyParent();

    SoundState state = SoundState::STOPPED;

  private:
    // Stops and frees the voice, if any.
    void DropVoice();

    AudioEngine* engine_;
    SoundEffect::Impl* effect_;
    platform::VoiceId voice_ = 0;
    float volume_ = 1.0f;
    bool looped_ = false;
};

}  // namespace DirectX
