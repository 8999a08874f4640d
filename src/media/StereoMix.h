// StereoMix: how the channels of a sound reach the two output channels. A mono sound goes to
// both at its own level (no pan law); two front channels go straight through; more channels
// are mixed down by their speaker positions and scaled so that the mix can never clip.
// Speaker positions are the bits of the WAV channel mask (front left 0x1, front right 0x2,
// front centre 0x4, low frequency 0x8, back left 0x10 and so on).
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>
#include <vector>

namespace DirectX {

// Speaker bits of the channel mask, in the order channels are stored.
constexpr uint32_t kSpeakerFrontLeft = 0x1;
constexpr uint32_t kSpeakerFrontRight = 0x2;
constexpr uint32_t kSpeakerFrontCentre = 0x4;
constexpr uint32_t kSpeakerLowFrequency = 0x8;
constexpr uint32_t kSpeakerBackLeft = 0x10;
constexpr uint32_t kSpeakerBackRight = 0x20;
constexpr uint32_t kSpeakerBackCentre = 0x100;
constexpr uint32_t kSpeakerSideLeft = 0x200;
constexpr uint32_t kSpeakerSideRight = 0x400;

// Each source channel's share of the left and of the right output.
struct StereoMix {
    std::vector<float> left;
    std::vector<float> right;
    // True for two channels that go straight to left and right.
    bool IsStraightStereo() const;
};

// The speaker of each channel: the set bits of mask in ascending order when it names exactly
// one per channel, else the usual layout for that many channels (0 for a channel beyond it).
std::vector<uint32_t> SpeakersOf(uint32_t mask, uint32_t channels);

// The mix of channels at the given speakers; one channel is mono whatever its speaker.
StereoMix StereoMixFor(const std::vector<uint32_t>& speakers);

}  // namespace DirectX
