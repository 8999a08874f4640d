// AudioBackend: what the audio engine needs of a sound library: an output device, sample
// buffers with an optional loop region, and voices that play one buffer, or a queue of them,
// with a gain. A voice's two channels go straight to the left and right speakers, unpanned.
// Every operation may be called from any thread (the streams' feeder has one of its own); each
// call is atomic. Implemented on OpenAL Soft (platform/sound/). Also the loopback device that
// renders the mix into memory instead of a sound card, for tests and headless capture.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace platform {

// Sample layouts a buffer may be given in; everything else is converted before.
enum class SampleType { kUnsigned8, kSigned16, kFloat32 };

// One sound's samples, interleaved stereo, with its loop region in sample frames (length 0:
// none).
struct SoundData {
    SampleType type = SampleType::kSigned16;
    uint32_t rate = 0;
    const void* bytes = nullptr;
    size_t size = 0;
    uint32_t loopStart = 0;
    uint32_t loopLength = 0;
};

// Bytes of one stereo sample frame.
inline size_t FrameBytes(SampleType type) {
    switch (type) {
        case SampleType::kUnsigned8:
            return 2;
        case SampleType::kSigned16:
            return 4;
        case SampleType::kFloat32:
            return 8;
    }
    return 8;
}

using BufferId = uint32_t;
using VoiceId = uint32_t;

class AudioBackend {
  public:
    virtual ~AudioBackend() = default;
    // Copies samples into a new buffer; 0 with a message in error when that fails.
    virtual BufferId CreateBuffer(const SoundData& data, std::string* error) = 0;
    // Frees a buffer no voice plays any more.
    virtual void DestroyBuffer(BufferId buffer) = 0;
    // A new silent stereo voice; 0 with a message in error on failure (no source left).
    virtual VoiceId CreateVoice(std::string* error) = 0;
    // Stops and frees a voice.
    virtual void DestroyVoice(VoiceId voice) = 0;
    // Sets the linear gain of a voice (clamped to what the library takes); false on failure.
    virtual bool SetGain(VoiceId voice, float gain) = 0;
    // Starts the buffer on the voice from its first sample, looping or once; false on failure.
    virtual bool Start(VoiceId voice, BufferId buffer, bool loop) = 0;
    // Appends a buffer to the voice's queue (streamed sounds); false on failure.
    virtual bool Queue(VoiceId voice, BufferId buffer) = 0;
    // Buffers of the voice's queue it has still to play (0 once it has stopped).
    virtual size_t Unplayed(VoiceId voice) = 0;
    // Takes one buffer the voice has finished off its queue; 0 when there is none.
    virtual BufferId TakeFinished(VoiceId voice) = 0;
    // Plays the voice's queue from its first buffer if the voice is not playing.
    virtual bool Resume(VoiceId voice) = 0;
    // Lets a looping voice leave its loop and play to the buffer's end.
    virtual void ExitLoop(VoiceId voice) = 0;
    // Stops the voice at once and takes its buffer (or its whole queue) off; it no longer
    // loops and is ready for another sound.
    virtual void Stop(VoiceId voice) = 0;
    // True while the voice still has samples to play.
    virtual bool IsSounding(VoiceId voice) = 0;
    // False once the output device has gone away.
    virtual bool IsConnected() = 0;
    // The latency the device reported for its output when it opened, in milliseconds: how
    // long after the mix a sample is heard. 0 when it reports none, and for the loopback
    // device, whose mix is the output.
    virtual double OutputLatencyMs() { return 0; }
};

// Puts the sound library's settings into the process environment. Call at the start of the
// program, before any thread starts: other threads (the font loader of the text library among
// them) read the environment, and changing it under them can crash the program. Later calls,
// and the opening of devices, leave the environment alone.
void PrepareAudioOutput();

// Opens the default output device, or the loopback device when loopback is selected.
// nullptr on failure, with noDevice set when the machine simply has no sound device and a
// message in error. The sound library's own complaints about missing hardware stay off stderr.
std::unique_ptr<AudioBackend> OpenAudioOutput(bool* noDevice, std::string* error);

// The speaker layouts the loopback device can mix for (tests show that every sound reaches
// its speakers at the same level on each).
enum class LoopbackLayout { kStereo, kHeadphones, kSurround51 };

// Makes later OpenAudioOutput calls open the loopback device (44100 Hz float, limiter off;
// stereo unless another layout is asked for) instead of the default device; false with a
// message when it is unavailable.
bool SelectLoopbackOutput(bool enabled, std::string* error,
                          LoopbackLayout layout = LoopbackLayout::kStereo);
// Channels of each frame RenderLoopback writes: 2, or 6 for the 5.1 layout.
size_t LoopbackChannels();
// Renders the next frames of the open loopback device's mix into out (interleaved float,
// LoopbackChannels() a frame); fills silence and returns false when no loopback device is
// open.
bool RenderLoopback(float* out, size_t frames);

}  // namespace platform
