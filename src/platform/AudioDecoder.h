// AudioDecoder: a compressed sound file (Ogg Vorbis, Opus, FLAC, MP3) decoded a piece at a
// time into float samples, for songs that are decoded while they play. Implemented on
// libsndfile (platform/sound/). A decoder notices when its file is cut or rewritten while it
// is being read, and then fails with the reason instead of decoding torn data.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// What a decoded file holds.
struct DecodedFormat {
    uint32_t channels = 0;
    uint32_t rate = 0;
    uint64_t frames = 0;  // as the file states it
    // The speaker of each channel as a bit of the WAV channel mask (front left 0x1, front
    // right 0x2, front centre 0x4, low frequency 0x8, ...), in the order decoded.
    std::vector<uint32_t> speakers;
};

class AudioDecoder {
  public:
    virtual ~AudioDecoder() = default;
    virtual const DecodedFormat& Format() const = 0;
    // Decodes up to frames frames of interleaved float samples into out; sets got to the
    // count (0 at the end). False with the reason in error when decoding fails or the file
    // changed since it was opened.
    virtual bool Read(float* out, size_t frames, size_t* got, std::string* error) = 0;
    // Goes back or forward to the given frame; false with the reason in error.
    virtual bool Seek(uint64_t frame, std::string* error) = 0;
};

// Opens a compressed sound file (UTF-8 path). nullptr on failure, with errno in systemError
// when the file could not be opened at all, or 0 and the reason in error when it is not a
// sound file that can be decoded.
std::unique_ptr<AudioDecoder> OpenAudioDecoder(const std::string& path, int* systemError,
                                               std::string* error);

}  // namespace platform
