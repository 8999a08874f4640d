// The stereo downmix: the usual shares by speaker position, then one scale for the whole mix.
// Depends on: media/StereoMix.h.
#include "media/StereoMix.h"

#include <algorithm>
#include <bit>
#include <cmath>

namespace DirectX {
namespace {

constexpr float kHalfPower = 0.70710678f;  // -3 dB: a channel heard on a side or on both

// The usual channel masks for 1 to 8 channels stored without one: mono, stereo, stereo with
// centre, quad, 5.0, 5.1, 6.1 and 7.1.
constexpr uint32_t kUsualMasks[9] = {0, 0x4, 0x3, 0x7, 0x33, 0x37, 0x3F, 0x70F, 0x63F};

// A speaker's share of the left and right outputs.
struct Share {
    float left;
    float right;
};

// Front channels go to their side whole, the centre to both at half power, side, back and top
// channels to their side at half power (centred ones to both at half of that), the
// low-frequency channel nowhere; a speaker of no known place counts as centred at the back.
Share ShareOf(uint32_t speaker) {
    switch (speaker) {
        case 0x1:   // front left
        case 0x40:  // front left of centre
            return {1.0f, 0.0f};
        case 0x2:   // front right
        case 0x80:  // front right of centre
            return {0.0f, 1.0f};
        case 0x4:  // front centre
            return {kHalfPower, kHalfPower};
        case 0x8:  // low frequency
            return {0.0f, 0.0f};
        case 0x10:    // back left
        case 0x200:   // side left
        case 0x1000:  // top front left
        case 0x8000:  // top back left
            return {kHalfPower, 0.0f};
        case 0x20:     // back right
        case 0x400:    // side right
        case 0x4000:   // top front right
        case 0x20000:  // top back right
            return {0.0f, kHalfPower};
        default:  // back centre, top centre, top front and back centre, unknown
            return {0.5f, 0.5f};
    }
}

}  // namespace

bool StereoMix::IsStraightStereo() const {
    return left.size() == 2 && left[0] == 1.0f && left[1] == 0.0f && right[0] == 0.0f &&
           right[1] == 1.0f;
}

std::vector<uint32_t> SpeakersOf(uint32_t mask, uint32_t channels) {
    if (mask == 0 || uint32_t(std::popcount(mask)) != channels)
        mask = channels < 9 ? kUsualMasks[channels] : kUsualMasks[8];
    std::vector<uint32_t> speakers;
    for (uint32_t bit = 1; bit != 0 && speakers.size() < channels; bit <<= 1)
        if (mask & bit) speakers.push_back(bit);
    speakers.resize(channels, 0);
    return speakers;
}

StereoMix StereoMixFor(const std::vector<uint32_t>& speakers) {
    StereoMix mix;
    if (speakers.size() == 1) {
        mix.left = mix.right = {1.0f};
        return mix;
    }
    float leftSum = 0, rightSum = 0;
    for (uint32_t speaker : speakers) {
        Share share = ShareOf(speaker);
        mix.left.push_back(share.left);
        mix.right.push_back(share.right);
        leftSum += share.left;
        rightSum += share.right;
    }
    // No clipping: an output is at most the sum of its shares (every channel at full scale
    // with the same sign), so when either sum exceeds 1 every share is divided by the larger
    // sum. A mix whose sums stay at or below 1 (stereo, mono) keeps its levels.
    float largest = std::max(leftSum, rightSum);
    if (largest > 1.0f) {
        for (float& v : mix.left) v /= largest;
        for (float& v : mix.right) v /= largest;
    }
    return mix;
}

}  // namespace DirectX
