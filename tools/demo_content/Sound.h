// Sound: a stereo float buffer that instruments add into, with the oscillators they share.
// A buffer may wrap around its end, so a looping tune can carry its tails into its start.
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstddef>
#include <vector>

namespace democontent {

inline constexpr int kSampleRate = 44100;

class StereoBuffer {
  public:
    // A silent buffer of frames frames; with wrap, writes past the end continue at the start.
    StereoBuffer(size_t frames, bool wrap);

    size_t Frames() const { return left_.size(); }
    bool Wraps() const { return wrap_; }
    // Adds a sample pair at frame i (dropped past the end unless the buffer wraps).
    void Add(size_t i, float left, float right);
    // Adds a mono sample at frame i, placed by pan (-1 left, 0 centre, 1 right).
    void AddPanned(size_t i, float value, float pan);
    // Adds all of other into this buffer, scaled.
    void Mix(const StereoBuffer& other, float gain);
    float Left(size_t i) const { return left_[i]; }
    float Right(size_t i) const { return right_[i]; }
    // Scales the whole buffer so that its loudest sample has magnitude peak.
    void Normalize(float peak);
    // Linear fades over the first and last frames (no clicks at either end).
    void FadeEnds(size_t fadeInFrames, size_t fadeOutFrames);
    // A feedback echo of delayFrames, alternating sides, of the given feedback and level.
    void PingPongEcho(size_t delayFrames, float feedback, float level);

  private:
    std::vector<float> left_;
    std::vector<float> right_;
    bool wrap_;
};

// sin(2 pi cycles) from a table with linear interpolation (fast and repeatable).
float SineCycles(double cycles);
// Frequency in hertz of a MIDI note number (69 is 440 Hz).
double MidiToHz(int note);

}  // namespace democontent
