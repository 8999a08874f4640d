// The WAV sample stream: whole frames (or ADPCM blocks) read from the file at the place asked
// for, converted piece by piece; a seek into the middle of a block decodes the block and drops
// the frames before the place.
// Depends on: media/SampleStream.h.
#include <algorithm>

#include "media/SampleStream.h"

namespace DirectX {
namespace {

class WavStream final : public SampleStream {
  public:
    WavStream(std::shared_ptr<const SoundFile> file, uint64_t offset, uint64_t bytes,
              const SampleLayout& layout)
        : file_(std::move(file)), offset_(offset), layout_(layout) {
        units_ = bytes / layout_.unitBytes;
    }

    platform::SampleType Type() const override { return layout_.outType; }
    uint32_t Rate() const override { return layout_.rate; }
    uint64_t Frames() const override { return units_ * layout_.unitFrames; }

    bool Read(size_t maxFrames, std::vector<uint8_t>& out, size_t* got, std::string* why) override {
        *got = 0;
        uint64_t frames = std::min<uint64_t>(maxFrames, Frames() - std::min(position_, Frames()));
        if (frames == 0) return true;
        uint64_t firstUnit = position_ / layout_.unitFrames;
        size_t skip = size_t(position_ % layout_.unitFrames);
        uint64_t units = (skip + frames + layout_.unitFrames - 1) / layout_.unitFrames;
        raw_.resize(size_t(units * layout_.unitBytes));
        if (!file_->ReadAt(offset_ + firstUnit * layout_.unitBytes, raw_.size(), raw_.data(), why))
            return false;
        size_t frameBytes = OutFrameBytes(layout_);
        if (skip == 0 && frames == units * layout_.unitFrames) {
            ConvertUnits(layout_, raw_.data(), size_t(units), out);
        } else {
            converted_.clear();
            ConvertUnits(layout_, raw_.data(), size_t(units), converted_);
            const uint8_t* first = converted_.data() + skip * frameBytes;
            out.insert(out.end(), first, first + size_t(frames) * frameBytes);
        }
        position_ += frames;
        *got = size_t(frames);
        return true;
    }

    bool Seek(uint64_t frame, std::string*) override {
        position_ = std::min(frame, Frames());
        return true;
    }

  private:
    std::shared_ptr<const SoundFile> file_;
    uint64_t offset_;
    SampleLayout layout_;
    uint64_t units_ = 0;
    uint64_t position_ = 0;  // the next frame to read
    std::vector<uint8_t> raw_;
    std::vector<uint8_t> converted_;
};

}  // namespace

std::unique_ptr<SampleStream> OpenWavStream(std::shared_ptr<const SoundFile> file, uint64_t offset,
                                            uint64_t bytes, const SampleLayout& layout) {
    return std::make_unique<WavStream>(std::move(file), offset, bytes, layout);
}

}  // namespace DirectX
