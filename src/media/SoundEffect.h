// DirectX::SoundEffect: the samples of one sound file, from which instances are made: a short
// WAV file held in memory (and uploaded to the device while the engine runs), a long one or a
// compressed song (Ogg, Opus, FLAC, MP3, by the name's ending) read a piece at a time while it
// plays; and the error its construction raises when the file cannot be used.
// Depends on: media/AudioEngine.h, media/SoundEffectInstance.h, media/ComException.h.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include "media/ComException.h"
#include "media/SoundEffectInstance.h"

namespace DirectX {

class AudioEngine;
struct WaveFileInfo;

// Raised as "SoundEffect" when a file is missing, unreadable, malformed or of a format that
// cannot be played; keeps the file, the result code, the errno of a system failure and a
// decoder's reason for the one line the game prints.
class SoundEffectError : public std::runtime_error {
  public:
    SoundEffectError(HRESULT result, std::wstring file, int systemError = 0,
                     std::string detail = {})
        : std::runtime_error("SoundEffect"),
          result_(result),
          file_(std::move(file)),
          systemError_(systemError),
          detail_(std::move(detail)) {}
    // The code of the failed step.
    HRESULT result() const { return result_; }
    // The file as it was named.
    const std::wstring& file() const { return file_; }
    // The errno of a failed system call, or 0.
    int systemError() const { return systemError_; }
    // Why a compressed file could not be decoded, or empty.
    const std::string& detail() const { return detail_; }

  private:
    HRESULT result_;
    std::wstring file_;
    int systemError_;
    std::string detail_;
};

// True for the names of files that are decoded while they play (".ogg", ".opus", ".flac" and
// ".mp3", in any letter case); every other name is read as a WAV file.
bool IsCompressedSoundName(const std::wstring& fileName);

class SoundEffect {
  public:
    // Reads and checks the file; raises SoundEffectError ("SoundEffect") when it is unusable.
    SoundEffect(AudioEngine* engine, const std::wstring& fileName);
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // A new stopped instance without a voice. Of the flags only kInstanceReservedVoice acts.
    std::unique_ptr<SoundEffectInstance> CreateInstance(uint32_t flags = 0);
    // What the reader found in a WAV file (format, samples, loop region); all empty for a
    // compressed song. The samples of a streamed file are not in memory.
    const WaveFileInfo& GetInfo() const;
    // True when the sound is played a piece at a time from its file.
    bool IsStreamed() const;

    class Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace DirectX
