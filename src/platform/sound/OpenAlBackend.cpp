// The audio back end on OpenAL Soft: one device and context, buffers with loop points, one
// stereo source per voice sending its channels straight to the speakers; the default device
// or the loopback device that renders into memory. Calls from several threads are serialised
// by one lock per back end, and each thread makes the back end's context its own.
// Depends on: platform/AudioBackend.h, platform/sound/OutputLatency.h,
// platform/sound/QuietAlsa.h, OpenAL Soft.
#define AL_ALEXT_PROTOTYPES
#include <AL/al.h>
#include <AL/alc.h>
#include <AL/alext.h>

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/AudioBackend.h"
#include "platform/sound/OutputLatency.h"
#include "platform/sound/QuietAlsa.h"

namespace platform {
namespace {

constexpr ALCint kLoopbackRate = 44100;
// Source gains above 1 amplify; the mixer itself stops at 16 (+24 dB).
constexpr float kMaxGain = 16.0f;

bool gLoopbackSelected = false;
LoopbackLayout gLoopbackLayout = LoopbackLayout::kStereo;
ALCdevice* gLoopbackDevice = nullptr;  // the open loopback device, if any

// The OpenAL format of a stereo layout.
ALenum FormatOf(SampleType type) {
    switch (type) {
        case SampleType::kUnsigned8:
            return AL_FORMAT_STEREO8;
        case SampleType::kSigned16:
            return AL_FORMAT_STEREO16;
        case SampleType::kFloat32:
            return AL_FORMAT_STEREO_FLOAT32;
    }
    return 0;
}

// Text of an OpenAL error code.
std::string AlErrorText(ALenum code) {
    const char* text = alGetString(code);
    return text ? text : "unknown OpenAL error";
}

// The output latency the device reports through the device clock extension, where the
// installed library has it (asked at run time, so an older library still loads); 0 otherwise.
double ReportedLatencyMs(ALCdevice* device) {
    if (!alcIsExtensionPresent(device, "ALC_SOFT_device_clock")) return 0;
    auto get =
        reinterpret_cast<LPALCGETINTEGER64VSOFT>(alcGetProcAddress(device, "alcGetInteger64vSOFT"));
    if (!get) return 0;
    ALCint64SOFT latency = 0;
    alcGetError(device);
    get(device, ALC_DEVICE_LATENCY_SOFT, 1, &latency);
    if (alcGetError(device) != ALC_NO_ERROR || latency <= 0) return 0;
    return double(latency) / 1e6;
}

class OpenAlBackend final : public AudioBackend {
  public:
    OpenAlBackend(ALCdevice* device, ALCcontext* context, bool loopback)
        : device_(device), context_(context), loopback_(loopback) {
        hasDisconnect_ = alcIsExtensionPresent(device_, "ALC_EXT_disconnect");
        threadContexts_ = alcIsExtensionPresent(device_, "ALC_EXT_thread_local_context");
        if (loopback_) gLoopbackDevice = device_;
        if (!loopback_) latencyMs_ = ReportedLatencyMs(device_);
    }

    ~OpenAlBackend() override {
        std::lock_guard lock(mutex_);
        if (loopback_ && gLoopbackDevice == device_) gLoopbackDevice = nullptr;
        if (threadContexts_ && alcGetThreadContext() == context_) alcSetThreadContext(nullptr);
        if (alcGetCurrentContext() == context_) alcMakeContextCurrent(nullptr);
        alcDestroyContext(context_);
        alcCloseDevice(device_);
    }

    BufferId CreateBuffer(const SoundData& data, std::string* error) override {
        std::lock_guard lock(mutex_);
        Use();
        size_t frameBytes = FrameBytes(data.type);
        // OpenAL takes whole frames only; a torn tail is dropped.
        size_t frames = data.size / frameBytes;
        if (frames == 0) return Fail(error, "no playable samples in this layout");
        ALuint buffer = 0;
        alGetError();
        alGenBuffers(1, &buffer);
        alBufferData(buffer, FormatOf(data.type), data.bytes, ALsizei(frames * frameBytes),
                     ALsizei(data.rate));
        if (ALenum code = alGetError(); code != AL_NO_ERROR) {
            alDeleteBuffers(1, &buffer);
            return Fail(error, "buffer upload failed: " + AlErrorText(code));
        }
        SetLoopPoints(buffer, data, frames);
        return buffer;
    }

    void DestroyBuffer(BufferId buffer) override {
        std::lock_guard lock(mutex_);
        Use();
        ALuint id = buffer;
        alDeleteBuffers(1, &id);
        alGetError();
    }

    VoiceId CreateVoice(std::string* error) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        ALuint source = 0;
        alGenSources(1, &source);
        if (ALenum code = alGetError(); code != AL_NO_ERROR)
            return Fail(error, "no voice: " + AlErrorText(code));
        alSourcef(source, AL_MAX_GAIN, kMaxGain);
        alSourcef(source, AL_ROLLOFF_FACTOR, 0.0f);
        alSourcei(source, AL_SOURCE_RELATIVE, AL_TRUE);
        // Left and right go to their speakers as they are: no pan law, no headphone filter.
        alSourcei(source, AL_DIRECT_CHANNELS_SOFT, AL_TRUE);
        return source;
    }

    void DestroyVoice(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        ALuint id = voice;
        alSourceStop(id);
        alSourcei(id, AL_BUFFER, 0);
        alDeleteSources(1, &id);
        alGetError();
    }

    bool SetGain(VoiceId voice, float gain) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        // OpenAL refuses negative gains; a negative volume is heard as silence.
        alSourcef(voice, AL_GAIN, std::clamp(gain, 0.0f, kMaxGain));
        return alGetError() == AL_NO_ERROR;
    }

    bool Start(VoiceId voice, BufferId buffer, bool loop) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, ALint(buffer));
        alSourcei(voice, AL_LOOPING, loop ? AL_TRUE : AL_FALSE);
        alSourcePlay(voice);
        return alGetError() == AL_NO_ERROR;
    }

    bool Queue(VoiceId voice, BufferId buffer) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        ALuint id = buffer;
        alSourceQueueBuffers(voice, 1, &id);
        return alGetError() == AL_NO_ERROR;
    }

    size_t Unplayed(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        ALint queued = 0, processed = 0;
        alGetSourcei(voice, AL_BUFFERS_QUEUED, &queued);
        alGetSourcei(voice, AL_BUFFERS_PROCESSED, &processed);
        return queued > processed ? size_t(queued - processed) : 0;
    }

    BufferId TakeFinished(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        ALint processed = 0;
        alGetSourcei(voice, AL_BUFFERS_PROCESSED, &processed);
        if (processed <= 0) return 0;
        ALuint id = 0;
        alSourceUnqueueBuffers(voice, 1, &id);
        return alGetError() == AL_NO_ERROR ? id : 0;
    }

    bool Resume(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        alGetError();
        if (!Sounding(voice)) alSourcePlay(voice);
        return alGetError() == AL_NO_ERROR;
    }

    void ExitLoop(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        alSourcei(voice, AL_LOOPING, AL_FALSE);
    }

    void Stop(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        alSourceStop(voice);
        alSourcei(voice, AL_BUFFER, 0);
        alSourcei(voice, AL_LOOPING, AL_FALSE);
        alGetError();
    }

    bool IsSounding(VoiceId voice) override {
        std::lock_guard lock(mutex_);
        Use();
        return Sounding(voice);
    }

    double OutputLatencyMs() override { return latencyMs_; }

    bool IsConnected() override {
        std::lock_guard lock(mutex_);
        if (!hasDisconnect_) return true;
        ALCint connected = ALC_TRUE;
        alcGetIntegerv(device_, ALC_CONNECTED, 1, &connected);
        return connected != ALC_FALSE;
    }

  private:
    // Makes this back end's context current for the calling thread (several back ends may
    // exist in tests, each used from more than one thread).
    void Use() {
        if (threadContexts_) {
            if (alcGetThreadContext() != context_) alcSetThreadContext(context_);
        } else if (alcGetCurrentContext() != context_) {
            alcMakeContextCurrent(context_);
        }
    }

    // True while the source plays; the lock is held.
    static bool Sounding(VoiceId voice) {
        ALint state = AL_STOPPED;
        alGetSourcei(voice, AL_SOURCE_STATE, &state);
        return state == AL_PLAYING;
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

    std::mutex mutex_;
    ALCdevice* device_;
    ALCcontext* context_;
    bool loopback_;
    bool hasDisconnect_ = false;
    bool threadContexts_ = false;
    double latencyMs_ = 0;
};

// Context attributes both devices share: room for every sound at once (the private
// configuration asks the same; a user's own configuration may still set a lower ceiling).
constexpr ALCint kSourceAttributes[] = {ALC_MONO_SOURCES, 0, ALC_STEREO_SOURCES, kSoundSources};

// Opens the loopback device with a 44100 Hz float mix in the selected layout and no limiter.
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
    const bool surround = gLoopbackLayout == LoopbackLayout::kSurround51;
    const bool headphones = gLoopbackLayout == LoopbackLayout::kHeadphones;
    const ALCint attributes[] = {ALC_FORMAT_CHANNELS_SOFT,
                                 surround ? ALC_5POINT1_SOFT : ALC_STEREO_SOFT,
                                 ALC_FORMAT_TYPE_SOFT,
                                 ALC_FLOAT_SOFT,
                                 ALC_FREQUENCY,
                                 kLoopbackRate,
                                 ALC_OUTPUT_LIMITER_SOFT,
                                 ALC_FALSE,
                                 ALC_HRTF_SOFT,
                                 headphones ? ALC_TRUE : ALC_FALSE,
                                 kSourceAttributes[0],
                                 kSourceAttributes[1],
                                 kSourceAttributes[2],
                                 kSourceAttributes[3],
                                 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context) {
        alcCloseDevice(device);
        if (error) *error = "the loopback device refused a 44100 Hz float mix";
        return nullptr;
    }
    alcMakeContextCurrent(context);
    return std::make_unique<OpenAlBackend>(device, context, true);
}

}  // namespace

void PrepareAudioOutput() { QuietSoundLibraries(); }

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
    const ALCint attributes[] = {kSourceAttributes[0], kSourceAttributes[1], kSourceAttributes[2],
                                 kSourceAttributes[3], 0};
    ALCcontext* context = alcCreateContext(device, attributes);
    if (!context) {
        alcCloseDevice(device);
        if (error) *error = "the sound device refused a mixing context";
        return nullptr;
    }
    alcMakeContextCurrent(context);
    return std::make_unique<OpenAlBackend>(device, context, false);
}

bool SelectLoopbackOutput(bool enabled, std::string* error, LoopbackLayout layout) {
    QuietSoundLibraries();
    if (enabled && !alcIsExtensionPresent(nullptr, "ALC_SOFT_loopback")) {
        if (error) *error = "OpenAL has no loopback extension";
        return false;
    }
    gLoopbackSelected = enabled;
    gLoopbackLayout = enabled ? layout : LoopbackLayout::kStereo;
    return true;
}

size_t LoopbackChannels() { return gLoopbackLayout == LoopbackLayout::kSurround51 ? 6 : 2; }

bool RenderLoopback(float* out, size_t frames) {
    if (!gLoopbackDevice) {
        std::fill(out, out + LoopbackChannels() * frames, 0.0f);
        return false;
    }
    alcRenderSamplesSOFT(gLoopbackDevice, out, ALCsizei(frames));
    return true;
}

}  // namespace platform
