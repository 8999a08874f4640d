// The implementation objects behind SoundEffect and SoundEffectInstance, which know each other:
// an effect tells its instances when it goes away; an instance plays its effect's whole buffer,
// or streams a long sound from the effect's file a piece at a time.
// Internal to the media layer. Depends on: media/AudioEngine.h, media/SampleStream.h,
// media/SoundFile.h, media/StreamFeed.h, media/WAVFileReader.h, media/WaveSamples.h,
// platform/AudioDecoder.h.
#pragma once

#include <list>
#include <memory>
#include <string>
#include <vector>

#include "media/AudioEngine.h"
#include "media/SampleStream.h"
#include "media/SoundEffect.h"
#include "media/SoundFile.h"
#include "media/StreamFeed.h"
#include "media/WAVFileReader.h"
#include "media/WaveSamples.h"
#include "platform/AudioDecoder.h"

namespace DirectX {

class SoundEffect::Impl final : public IVoiceNotify {
  public:
    explicit Impl(AudioEngine* engine);
    ~Impl();
    // Reads and checks the file (WAV, or a compressed song by its name's ending); raises
    // SoundEffectError.
    void Load(const std::wstring& fileName);
    // The whole sound in one buffer with its loop region, made on first use; 0 when silent.
    platform::BufferId WholeBuffer();
    // A new reader of the samples of a streamed sound from their start; nullptr with the
    // reason when the file cannot be opened again.
    std::unique_ptr<SampleStream> OpenStream(std::string* why);

    void OnCriticalError() override;
    void OnDestroyEngine() override;

    AudioEngine* engine = nullptr;
    std::wstring fileName;
    std::shared_ptr<SoundFile> file;  // a WAV file
    WaveFileInfo info;
    WaveFormat format;
    SampleLayout layout;
    bool streamed = false;  // played a piece at a time from the file
    LoopRegion loop;
    std::vector<uint8_t> converted;  // a whole sound's samples made for the back end, if needed
    platform::SoundData samples;     // a whole sound as the back end is given it
    platform::BufferId buffer = 0;
    std::unique_ptr<platform::AudioDecoder> decoder;  // a compressed song's, opened at load
    std::list<SoundEffectInstance::Impl*> instances;

  private:
    // Reads a WAV file; a failure code or kOk.
    HRESULT LoadWav(const std::string& path, int* systemError);
    // Opens a compressed song; raises SoundEffectError.
    void LoadCompressed(const std::string& path);
    // Checks the format read and prepares the samples; a failure code or kOk.
    HRESULT Initialize();
    // Frees the whole-sound buffer while the engine still runs.
    void ReleaseBuffer();
};

class SoundEffectInstance::Impl final : public IVoiceNotify {
  public:
    Impl(AudioEngine* engine, SoundEffect::Impl* effect, bool reservedVoice);
    ~Impl();

    void Play(bool loop);
    void Stop(bool immediate);
    void SetVolume(float volume);
    void SetStartOffset(double milliseconds) { startMs_ = milliseconds; }
    bool IsSounding() const;

    void OnCriticalError() override;
    void OnDestroyEngine() override;
    // The effect is going away: fall silent and forget it and the engine.
    void OnDestroyParent();

    SoundState state = SoundState::STOPPED;

  private:
    // Starts the sound on the voice, whole or streamed; false when the back end refused.
    bool Submit(bool loop);
    // Halts the voice and ends the stream, if any.
    void Halt();
    // Stops and gives back the voice, if any.
    void DropVoice();

    AudioEngine* engine_;
    SoundEffect::Impl* effect_;
    bool reservedVoice_;
    platform::VoiceId voice_ = 0;
    float volume_ = 1.0f;
    bool looped_ = false;
    double startMs_ = 0;  // where Play starts: into the sound (> 0) or after silence (< 0)
    std::shared_ptr<StreamFeed> feed_;  // a streamed sound's, while it plays
};

}  // namespace DirectX
