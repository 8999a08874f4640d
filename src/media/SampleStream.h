// SampleStream: a long sound read a piece at a time in the layout the audio back end plays
// (stereo), converted as it is read, so a song's start costs its first pieces whatever its
// length or format. One reader at a time, on whichever thread feeds the sound.
// Depends on: platform/AudioBackend.h, platform/AudioDecoder.h, media/SoundFile.h,
// media/WaveSamples.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "media/SoundFile.h"
#include "media/WaveSamples.h"
#include "platform/AudioBackend.h"
#include "platform/AudioDecoder.h"

namespace DirectX {

class SampleStream {
  public:
    virtual ~SampleStream() = default;
    // The layout and rate of what Read appends.
    virtual platform::SampleType Type() const = 0;
    virtual uint32_t Rate() const = 0;
    // Frames in the sound, as its file states them.
    virtual uint64_t Frames() const = 0;
    // Appends up to maxFrames frames from the current place to out and sets got to their
    // count (0 at the end). False with the reason when the file cannot be read any more.
    virtual bool Read(size_t maxFrames, std::vector<uint8_t>& out, size_t* got,
                      std::string* why) = 0;
    // Goes to the given frame; false with the reason.
    virtual bool Seek(uint64_t frame, std::string* why) = 0;
};

// The samples of a WAV file whose sample bytes stay on disk: offset and size of the "data"
// payload in the file, converted by layout.
std::unique_ptr<SampleStream> OpenWavStream(std::shared_ptr<const SoundFile> file, uint64_t offset,
                                            uint64_t bytes, const SampleLayout& layout);

// A compressed file's samples, decoded and mixed to stereo float.
std::unique_ptr<SampleStream> OpenDecodedStream(std::unique_ptr<platform::AudioDecoder> decoder);

}  // namespace DirectX
