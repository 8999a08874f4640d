// The compressed-song stream: float samples from the decoder, mixed to stereo by the
// speakers the decoder reports (a stereo pair goes through as it is).
// Depends on: media/SampleStream.h, media/StereoMix.h.
#include <cstring>

#include "media/SampleStream.h"

namespace DirectX {
namespace {

class DecodedStream final : public SampleStream {
  public:
    explicit DecodedStream(std::unique_ptr<platform::AudioDecoder> decoder)
        : decoder_(std::move(decoder)), mix_(StereoMixFor(decoder_->Format().speakers)) {}

    platform::SampleType Type() const override { return platform::SampleType::kFloat32; }
    uint32_t Rate() const override { return decoder_->Format().rate; }
    uint64_t Frames() const override { return decoder_->Format().frames; }

    bool Read(size_t maxFrames, std::vector<uint8_t>& out, size_t* got, std::string* why) override {
        size_t channels = decoder_->Format().channels;
        decoded_.resize(maxFrames * channels);
        if (!decoder_->Read(decoded_.data(), maxFrames, got, why)) return false;
        if (mix_.IsStraightStereo()) {
            size_t at = out.size();
            out.resize(at + *got * 8);
            std::memcpy(out.data() + at, decoded_.data(), *got * 8);
        } else {
            MixFloatFrames(mix_, decoded_.data(), *got, out);
        }
        return true;
    }

    bool Seek(uint64_t frame, std::string* why) override { return decoder_->Seek(frame, why); }

  private:
    std::unique_ptr<platform::AudioDecoder> decoder_;
    StereoMix mix_;
    std::vector<float> decoded_;
};

}  // namespace

std::unique_ptr<SampleStream> OpenDecodedStream(std::unique_ptr<platform::AudioDecoder> decoder) {
    return std::make_unique<DecodedStream>(std::move(decoder));
}

}  // namespace DirectX
