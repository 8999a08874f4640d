// The implementation objects behind SoundEffect and SoundEffectInstance, which know each other:
// an effect tells its instances when it goes away; an instance plays its effect's buffer, or
// streams a long single play from the effect's samples a piece at a time.
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
    // Maps and checks the file; raises SoundEffectError.
    void Load(const std::wstring& fileName);
    // The whole sound in one buffer with its loop region, made on first use; 0 when silent.
    platform::BufferId WholeBuffer();
    // True when a single play is long enough to be fed to its voice in pieces.
    bool StreamsOnce() const;
    // Bytes of one streamed piece (about half a second, whole frames or blocks).
    size_t PieceBytes() const;

    void OnCriticalError() override;
    void OnDestroyEngine() override;

    AudioEngine* engine = nullptr;
    std::unique_ptr<MappedFile> file;
    WaveFileInfo info;
    WaveFormat format;
    std::vector<float> converted;  // samples in a layout made for the back end, if needed
    platform::SoundData samples;   // what the back end is given
    platform::BufferId buffer = 0;
    std::list<SoundEffectInstance::Impl*> instances;

  private:
    // Checks the mapped file and prepares its samples; a failure code or kOk.
    HRESULT Initialize();
    // Frees the whole-sound buffer while the engine still runs.
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
    // Takes finished pieces off a streamed voice and queues the next ones.
    void OnUpdate() override;
    // The effect is going away: fall silent and forget it and the engine.
    void OnDestroyParent();

    SoundState state = SoundState::STOPPED;

  private:
    // Starts the sound on the voice, whole or streamed; false when the back end refused.
    bool Submit(bool loop);
    // Queues pieces until enough are ahead or the samples are used up.
    bool TopUp();
    // Halts the voice and frees every queued piece.
    void Halt();
    // Stops and frees the voice, if any.
    void DropVoice();

    AudioEngine* engine_;
    SoundEffect::Impl* effect_;
    platform::VoiceId voice_ = 0;
    float volume_ = 1.0f;
    bool looped_ = false;
    bool streaming_ = false;
    size_t nextByte_ = 0;                     // first sample byte not yet queued
    std::vector<platform::BufferId> pieces_;  // queued pieces, oldest first
};

}  // namespace DirectX
