// StreamFeed: the pieces of one streamed sound, their queue on the voice, the loop wrap, and
// the restart of a voice that ran dry.
// Depends on: media/StreamFeed.h.
#include "media/StreamFeed.h"

#include <algorithm>
#include <cstdio>

namespace DirectX {

StreamFeed::StreamFeed(platform::AudioBackend* backend, platform::VoiceId voice,
                       std::unique_ptr<SampleStream> stream, LoopRegion loop, bool looping,
                       std::string name, int64_t startFrame)
    : backend_(backend),
      voice_(voice),
      stream_(std::move(stream)),
      looping_(looping),
      name_(std::move(name)),
      startFrame_(startFrame) {
    uint64_t frames = stream_->Frames();
    bool inside = loop.length > 0 && loop.start + loop.length <= frames;
    loopStart_ = inside ? loop.start : 0;
    loopEnd_ = inside ? loop.start + loop.length : frames;
    pieceFrames_ = std::max<size_t>(stream_->Rate() / 4, 1);
}

StreamFeed::~StreamFeed() { Halt(); }

bool StreamFeed::Start() {
    std::lock_guard lock(mutex_);
    if (halted_) return false;
    if (startFrame_ < 0 && !QueueSilence(uint64_t(-startFrame_))) return false;
    if (startFrame_ > 0 && !Skip(uint64_t(startFrame_))) return true;  // nothing left to play
    while (pieces_.size() < kStartPieces + (startFrame_ < 0 ? 1 : 0) && QueuePiece()) {
    }
    // Nothing queued (no samples, or a failure already told on stderr) plays nothing.
    return pieces_.empty() || backend_->Resume(voice_);
}

bool StreamFeed::TopUp() {
    {
        std::lock_guard lock(mutex_);
        if (halted_) return false;
        while (platform::BufferId done = backend_->TakeFinished(voice_)) {
            backend_->DestroyBuffer(done);
            auto at = std::find(pieces_.begin(), pieces_.end(), done);
            if (at != pieces_.end()) pieces_.erase(at);
        }
    }
    // Only this thread queues and takes back pieces, so the count of fresh ones stays true
    // while the feed is let go between pieces.
    size_t fresh = 0;
    for (;;) {
        std::lock_guard lock(mutex_);
        if (halted_) return false;
        if (pieces_.size() >= kPiecesAhead || !QueuePiece()) break;
        ++fresh;
    }
    std::lock_guard lock(mutex_);
    if (halted_) return false;
    if (pieces_.empty()) return !exhausted_;
    if (!backend_->IsSounding(voice_)) Restart(fresh);
    return true;
}

bool StreamFeed::RunsLow(size_t low) const {
    return !exhausted_ && backend_->Unplayed(voice_) < low;
}

void StreamFeed::Restart(size_t fresh) {
    // A voice that stopped after this update took back its finished pieces played the older
    // ones to their end; starting it again would play them once more.
    if (fresh < pieces_.size()) {
        backend_->Stop(voice_);
        while (pieces_.size() > fresh) {
            backend_->DestroyBuffer(pieces_.front());
            pieces_.pop_front();
        }
        for (platform::BufferId piece : pieces_) backend_->Queue(voice_, piece);
    }
    backend_->Resume(voice_);
}

bool StreamFeed::QueuePiece() {
    if (exhausted_) return false;
    if (looping_ && position_ >= loopEnd_) {
        std::string why;
        if (!stream_->Seek(loopStart_, &why)) return Fail(why), false;
        position_ = loopStart_;
    }
    size_t frames = pieceFrames_;
    if (looping_) frames = size_t(std::min<uint64_t>(frames, loopEnd_ - position_));
    scratch_.clear();
    size_t got = 0;
    std::string why;
    if (!stream_->Read(frames, scratch_, &got, &why)) return Fail(why), false;
    if (got == 0) {
        // The samples ran out before the stated length: wrap there, or end.
        if (looping_ && position_ > loopStart_) {
            loopEnd_ = position_;
            return QueuePiece();
        }
        exhausted_ = true;
        return false;
    }
    position_ += got;
    return QueueBytes(scratch_, "the sound device refused a piece");
}

bool StreamFeed::QueueBytes(const std::vector<uint8_t>& bytes, const char* refused) {
    platform::SoundData piece;
    piece.type = stream_->Type();
    piece.rate = stream_->Rate();
    piece.bytes = bytes.data();
    piece.size = bytes.size();
    std::string error;
    platform::BufferId id = backend_->CreateBuffer(piece, &error);
    if (id != 0 && !backend_->Queue(voice_, id)) {
        backend_->DestroyBuffer(id);
        id = 0;
    }
    if (id == 0) return Fail(error.empty() ? refused : error), false;
    pieces_.push_back(id);
    return true;
}

bool StreamFeed::QueueSilence(uint64_t frames) {
    const platform::SampleType type = stream_->Type();
    // Unsigned 8-bit samples are silent at their middle value.
    const uint8_t quiet = type == platform::SampleType::kUnsigned8 ? 0x80 : 0;
    const std::vector<uint8_t> bytes(size_t(frames) * platform::FrameBytes(type), quiet);
    return QueueBytes(bytes, "the sound device refused its start");
}

bool StreamFeed::Skip(uint64_t frames) {
    while (frames > 0) {
        scratch_.clear();
        size_t got = 0;
        std::string why;
        if (!stream_->Read(size_t(std::min<uint64_t>(frames, pieceFrames_)), scratch_, &got, &why))
            return Fail(why), false;
        if (got == 0) return exhausted_ = true, false;
        frames -= got;
        position_ += got;
    }
    return true;
}

void StreamFeed::Fail(const std::string& why) {
    if (!exhausted_)
        std::fprintf(stderr, "lyrandel: %s: %s; the sound ends here\n", name_.c_str(), why.c_str());
    exhausted_ = true;
}

void StreamFeed::ExitLoop() {
    std::lock_guard lock(mutex_);
    looping_ = false;
}

void StreamFeed::Halt() {
    std::lock_guard lock(mutex_);
    if (halted_) return;
    halted_ = true;
    backend_->Stop(voice_);
    for (platform::BufferId piece : pieces_) backend_->DestroyBuffer(piece);
    pieces_.clear();
}

bool StreamFeed::IsSounding() {
    std::lock_guard lock(mutex_);
    if (halted_) return false;
    return !exhausted_ || backend_->IsSounding(voice_);
}

}  // namespace DirectX
