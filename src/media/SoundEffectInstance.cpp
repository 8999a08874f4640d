// SoundEffectInstance: one voice playing one effect's buffer, with the state rules of the
// engine: Play does nothing while playing, an immediate Stop silences at once, the volume is
// kept for a voice made later. Long single plays are streamed in half-second pieces so a song
// start costs no more than its first pieces.
// Depends on: media/SoundEffectImpl.h, media/ComException.h.
#include "media/SoundEffectInstance.h"

#include <algorithm>
#include <stdexcept>

#include "media/ComException.h"
#include "media/SoundEffectImpl.h"

namespace DirectX {

SoundEffectInstance::Impl::Impl(AudioEngine* engine, SoundEffect::Impl* effect)
    : engine_(engine), effect_(effect) {
    if (engine_) engine_->RegisterNotify(this);
}

SoundEffectInstance::Impl::~Impl() {
    if (effect_) effect_->instances.remove(this);
    DropVoice();
    if (engine_) engine_->UnregisterNotify(this);
}

// Pieces of a streamed sound kept queued ahead of the one playing (about two seconds).
constexpr size_t kPiecesAhead = 4;

void SoundEffectInstance::Impl::Halt() {
    platform::AudioBackend* backend = engine_ ? engine_->Backend() : nullptr;
    if (backend && voice_ != 0) backend->Stop(voice_);
    if (backend)
        for (platform::BufferId piece : pieces_) backend->DestroyBuffer(piece);
    pieces_.clear();
    if (streaming_ && engine_) engine_->UnregisterUpdate(this);
    streaming_ = false;
}

void SoundEffectInstance::Impl::DropVoice() {
    Halt();
    if (voice_ != 0 && engine_) engine_->DestroyVoice(voice_);
    voice_ = 0;
}

void SoundEffectInstance::Impl::Play(bool loop) {
    if (voice_ == 0 && engine_ && engine_->Backend() && effect_)
        voice_ = engine_->AllocateVoice(effect_->samples.channels > 1 ? 2 : 1);
    if (voice_ == 0 || state == SoundState::PLAYING) return;
    if (volume_ != 1.0f && !engine_->Backend()->SetGain(voice_, volume_))
        throw com_exception(kFail);
    state = SoundState::PLAYING;
    looped_ = loop;
    if (!Submit(loop)) {
        Stop(true);
        throw std::runtime_error("SubmitSourceBuffer");
    }
}

bool SoundEffectInstance::Impl::Submit(bool loop) {
    platform::AudioBackend* backend = engine_->Backend();
    if (loop || !effect_->StreamsOnce()) {
        platform::BufferId whole = effect_->WholeBuffer();
        return whole != 0 && backend->Start(voice_, whole, loop);
    }
    // A long single play starts after its first pieces are queued; Update feeds the rest.
    backend->Stop(voice_);
    streaming_ = true;
    nextByte_ = 0;
    engine_->RegisterUpdate(this);
    return TopUp() && backend->Resume(voice_);
}

bool SoundEffectInstance::Impl::TopUp() {
    platform::AudioBackend* backend = engine_->Backend();
    const platform::SoundData& all = effect_->samples;
    while (pieces_.size() < kPiecesAhead && nextByte_ < all.size) {
        platform::SoundData piece = all;
        piece.bytes = static_cast<const uint8_t*>(all.bytes) + nextByte_;
        piece.size = std::min(effect_->PieceBytes(), all.size - nextByte_);
        piece.loopStart = piece.loopLength = 0;
        std::string error;
        platform::BufferId id = backend->CreateBuffer(piece, &error);
        if (id == 0) return false;
        if (!backend->Queue(voice_, id)) {
            backend->DestroyBuffer(id);
            return false;
        }
        pieces_.push_back(id);
        nextByte_ += piece.size;
    }
    return true;
}

void SoundEffectInstance::Impl::OnUpdate() {
    platform::AudioBackend* backend = engine_ ? engine_->Backend() : nullptr;
    if (!streaming_ || !backend || !effect_) return;
    while (platform::BufferId done = backend->TakeFinished(voice_)) {
        backend->DestroyBuffer(done);
        pieces_.erase(std::find(pieces_.begin(), pieces_.end(), done));
    }
    TopUp();
    if (pieces_.empty()) {
        // Played to its end.
        engine_->UnregisterUpdate(this);
        streaming_ = false;
        return;
    }
    // A voice that ran dry between updates picks up where it stopped.
    backend->Resume(voice_);
}

void SoundEffectInstance::Impl::Stop(bool immediate) {
    platform::AudioBackend* backend = engine_ ? engine_->Backend() : nullptr;
    if (voice_ == 0 || !backend) {
        state = SoundState::STOPPED;
        return;
    }
    if (immediate) {
        state = SoundState::STOPPED;
        Halt();
    } else if (looped_) {
        looped_ = false;
        backend->ExitLoop(voice_);
    } else {
        Halt();
    }
}

void SoundEffectInstance::Impl::SetVolume(float volume) {
    volume_ = volume;
    if (voice_ != 0 && !engine_->Backend()->SetGain(voice_, volume)) throw com_exception(kFail);
}

bool SoundEffectInstance::Impl::IsSounding() const {
    if (voice_ == 0 || !engine_ || !engine_->Backend()) return false;
    return streaming_ || engine_->Backend()->IsSounding(voice_);
}

void SoundEffectInstance::Impl::OnCriticalError() {
    DropVoice();
    state = SoundState::STOPPED;
}

void SoundEffectInstance::Impl::OnDestroyEngine() {
    DropVoice();
    state = SoundState::STOPPED;
    engine_ = nullptr;
}

void SoundEffectInstance::Impl::OnDestroyParent() {
    DropVoice();
    state = SoundState::STOPPED;
    effect_ = nullptr;
    // Nothing will tell this instance about the engine again.
    if (engine_) engine_->UnregisterNotify(this);
    engine_ = nullptr;
}

SoundEffectInstance::SoundEffectInstance(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}

SoundEffectInstance::~SoundEffectInstance() = default;

void SoundEffectInstance::Play(bool loop) { impl_->Play(loop); }

void SoundEffectInstance::Stop(bool immediate) { impl_->Stop(immediate); }

void SoundEffectInstance::SetVolume(float volume) { impl_->SetVolume(volume); }

SoundState SoundEffectInstance::GetState() const { return impl_->state; }

bool SoundEffectInstance::IsSounding() const { return impl_->IsSounding(); }

}  // namespace DirectX
