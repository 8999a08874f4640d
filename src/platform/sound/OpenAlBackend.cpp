// The audio back end on OpenAL Soft: one device and context, buffers with loop points, one
// source per voice; the default device or the loopback device that renders into memory.
// Depends on: platform/AudioBackend.h, platform/sound/QuietAlsa.h, OpenAL Soft.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cstring>

#include "platform/AudioBackend.h"
#include "platform/sound/OutputLatency.h"
#include "platform/sound/QuietAlsa.h"

namespace platform {
namespace {

constexpr ALCint kLoopbackRate = 44100;
// Source gains above 1 amplify; the mixer itself stops at 16 (+24 dB).
constexpr float kMaxGain = 16.0f;

bool gLoopbackSelected = false;
ALCdevice* gLoopbackDevice = nullptr;  // the open loopback device, if any

// The OpenAL format of a sound's layout, or 0 when OpenAL takes no such layout.
ALenum FormatOf(const SoundData& d) {
    bool mono = d.channels == 1;
    if (d.channels != 1 && d.channels != 2) return 0;
    switch (d.type) {
        case SampleType::kUnsigned8:
            return mono ? AL_FORMAT_MONO8 : AL_FORMAT_STEREO8;
        case SampleType::kSigned16:
            return mono ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16;
        case SampleType::kFloat32:
            return mono ? AL_FORMAT_MONO_FLOAT32 : AL_FORMAT_STEREO_FLOAT32;
        case SampleType::kMsAdpcm:
            return mono ? AL_FORMAT_MONO_MSADPCM_SOFT : AL_FORMAT_STEREO_MSADPCM_SOFT;
    }
    return 0;
}

// Text of an OpenAL error code.
std::string AlErrorText(ALenum code) {
    const char* text = alGetString(code);
    return text ? text : "unknown OpenAL error";
}

class OpenAlBackend final : public AudioBackend {
  public:
    OpenAlBackend(ALCdevice* device, ALCcontext* context, bool loopback)
        : device_(device), context_(context), loopback_(loopback) {
        hasDisconnect_ = alcIsExtensionPresent(device_, "ALC_EXT_disconnect");
        if (loopback_) gLoopbackDevice = device_;
    }

    ~OpenAlBackend() override {
        if (loopback_ && gLoopbackDevice == device_) gLoopbackDevice = nullptr;
        if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
        alcCloseDevice(device_);
    }

    BufferId CreateBuffer(const SoundData& data, std::string* error) override {
        Use();
        ALenum format = FormatOf(data);
        size_t frameBytes = UnitBytes(data), framesPerUnit = UnitFrames(data);
        // OpenAL takes whole frames (whole blocks for ADPCM) only; a torn tail is dropped.
        size_t units = data.size / frameBytes;
        if (format == 0 || units == 0) return Fail(error, "no playable samples in this layout");
        ALuint buffer = 0;
        alGetError();
        alGenBuffers(1, &buffer);
        if (data.type == SampleType::kMsAdpcm)
            alBufferi(buffer, AL_UNPACK_BLOCK_ALIGNMENT_SOFT, ALint(data.samplesPerBlock));
        alBufferData(buffer, format, data.bytes, ALsizei(units * frameBytes), ALsizei(data.rate));
        if (ALenum code = alGetError(); code != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            return Fail(error, "buffer upload failed: " + AlErrorText(code));
        }
        SetLoopPoints(buffer, data, units * framesPerUnit);
        return buffer;
    }

    void DestroyBuffer(BufferId buffer) override {
        Use();
        ALuint id = buffer;
        alDeleteBuffers(1, &id);
        alGetError();
    }

    VoiceId CreateVoice(uint32_t channels, std::string* error) override {
        Use();
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (ALenum code = alGetError(); code != AL_NO_ERROR)
            return Fail(error, "no voice: " + AlErrorText(code));
        alSourcef(source, AL_MAX_GAIN, kMaxGain);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        // Stereo goes straight to the speakers; mono stays centred.
        if (channels == 2) alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        return source;
    }

    void DestroyVoice(VoiceId voice) override {
        Use();
        ALuint id = voice;
        alSourceStop(id);
        alSourcei(id, AL_BUFFER, 0);
        alDeleteSources(1, &id);
        alGetError();
    }

    bool SetGain(VoiceId voice, float gain) override {
        Use();
        alGetError();
        // OpenAL refuses negative gains; a negative volume is heard as silence.
        alSourcef(voice, AL_GAIN, std::clamp(gain, 0.0f, kMaxGain));
        return alGetError() == AL_NO_ERROR;
    }

    bool Start(VoiceId voice, BufferId buffer, bool loop) override {
        Use();
        alGetError();
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, ALint(buffer));
        alSourcei(voice, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcePlay(voice);
        return alGetError() == AL_NO_ERROR;
    }

    bool Queue(VoiceId voice, BufferId buffer) override {
        Use();
        alGetError();
        ALuint id = buffer;
        alSourceQueueBuffers(voice, 1, &id);
        return alGetError() == AL_NO_ERROR;
    }

    BufferId TakeFinished(VoiceId voice) override {
        Use();
        ALint processed = 0;
        alGetSourcei(voice, AL_BUFFERS_PROCESSED, &processed);
        if (processed <= 0) return 0;
        ALuint id = 0;
        alSourceUnqueueBuffers(voice, 1, &id);
        return alGetError() == AL_NO_ERROR ? id : 0;
    }

    bool Resume(VoiceId voice) override {
        Use();
        alGetError();
        if (!IsSounding(voice)) alSourcePlay(voice);
        return alGetError() == AL_NO_ERROR;
    }

    void ExitLoop(VoiceId voice) override {
        Use();
        alSourcei(voice, AL_LOOPING, AL_FALSE);
    }

    void Stop(VoiceId voice) override {
        Use();
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, 0);
        alGetError();
    }

    bool IsSounding(VoiceId voice) override {
        Use();
        ALint state = AL_STOPPED;
        alGetSourcei(voice, AL_SOURCE_STATE, &state);
        return state == AL_PLAYING;
    }

    bool IsConnected() override {
        if (!hasDisconnect_) return true;
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
        return connected != ALC_FALSE;
    }

  private:
    // Makes this back end's context current (several may exist in tests).
    void Use() {
        if (alcGetCurrentContext() != context_) alcMakeContextCurrent(context_);
    }

    // Records a failure and returns the empty id.
    static uint32_t Fail(std::string* error, const std::string& text) {
        if (error) *error = text;
        return 0;
    }

    // Sets the loop region; a region outside the samples is ignored and the whole sound loops.
    static void SetLoopPoints(ALuint buffer, const SoundData& data, size_t frames) {
        uint64_t end = uint64_t(data.loopStart) + data.loopLength;
        if (data.loopLength == 0 || end > frames) return;
        ALint points[2] = {ALint(data.loopStart), ALint(end)};
        alBufferiv(buffer, AL_LOOP_POINTS_SOFT, points);
        alGetError();
    }

    ALCdevice* device_;
    ALCcontext* context_;
    bool loopback_;
    bool hasDisconnect_ = false;
};

// Opens the loopback device with a 44100 Hz stereo float mix and no limiter.
std::unique_ptr<AudioBackend> OpenLoopback(std::string* error) {
    if (gLoopbackDevice) {
        if (error) *error = "the loopback device is already open";
        return nullptr;
    }
    ALCdevice* device = alcLoopbackOpenDeviceSOFT(nullptr);
    ForgetOutputConfig();  // read by now
    if (!device) {
        if (error) *error = "OpenAL has no loopback device";
        return nullptr;
    }
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 kLoopbackRate,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 ALC_HRTF_SOFT,
                                 ALC_FALSE,
                                 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context) {
        alcCloseDevice(device);
        if (error) *error = "the loopback device refused a 44100 Hz stereo float mix";
        return nullptr;
    }
    alcMakeContextCurrent(context);
    return std::make_unique<OpenAlBackend>(device, context, true);
}

}  // namespace

std::unique_ptr<AudioBackend> OpenAudioOutput(bool* noDevice, std::string* error) {
    QuietSoundLibraries();
    if (noDevice) *noDevice = false;
    if (gLoopbackSelected) return OpenLoopback(error);
    ALCdevice* device = alcOpenDevice(nullptr);
    ForgetOutputConfig();  // read by now
    if (!device) {
        if (noDevice) *noDevice = true;
        if (error) *error = "no sound device";
        return nullptr;
    }
    ALCcontext* context = alcCreateContext(device, nullptr);
    if (!context) {
        alcCloseDevice(device);
        if (error) *error = "the sound device refused a mixing context";
        return nullptr;
    }
    alcMakeContextCurrent(context);
    return std::make_unique<OpenAlBackend>(device, context, false);
}

bool SelectLoopbackOutput(bool enabled, std::string* error) {
    QuietSoundLibraries();
    if (enabled && !alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
        if (error) *error = "OpenAL has no loopback extension";
        return false;
    }
    gLoopbackSelected = enabled;
    return true;
}

bool RenderLoopback(float* out, size_t frames) {
    if (!gLoopbackDevice) {
        std::fill(out, out + 2 * frames, 0.0f);
        return false;
    }
    alcRenderSamplesSOFT(gLoopbackDevice, out, ALCsizei(frames));
    return true;
}

}  // namespace platform
