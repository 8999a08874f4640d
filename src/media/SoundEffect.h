// DirectX::SoundEffect: the samples of one WAV file held in memory (and uploaded to the device
// while the engine runs), from which instances are made; and the error its construction
// raises when the file cannot be used.
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
// cannot be played; keeps the file and the result code for the one line the game prints.
class SoundEffectError : public std::runtime_error {
  public:
    SoundEffectError(HRESULT result, std::wstring file)
        : std::runtime_error("SoundEffect"), result_(result), file_(std::move(file)) {}
    // The code of the failed step.
    HRESULT result() const { return result_; }
    // The file as it was named.
    const std::wstring& file() const { return file_; }

  private:
    HRESULT result_;
    std::wstring file_;
};

class SoundEffect {
  public:
    // Reads and checks the file; raises SoundEffectError ("SoundEffect") when it is unusable.
    SoundEffect(AudioEngine* engine, const std::wstring& fileName);
    ~SoundEffect();
    SoundEffect(const SoundEffect&) = delete;
    SoundEffect& operator=(const SoundEffect&) = delete;

    // A new stopped instance without a voice; flags are accepted for form's sake.
    std::unique_ptr<SoundEffectInstance> CreateInstance(uint32_t flags = 0);
    // What the reader found in the file (format, samples, loop region).
    const WaveFileInfo& GetInfo() const;

    class Impl;

  private:
    std::unique_ptr<Impl> impl_;
};

}  // namespace DirectX
