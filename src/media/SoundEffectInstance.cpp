// SoundEffectInstance: one voice playing one effect, with the state rules of the engine: Play
// does nothing while playing, an immediate Stop silences at once, the volume is kept for a
// voice made later. A short sound plays from one buffer; a long one is fed a piece at a time
// by the engine's feeder, so a song start costs no more than its first pieces.
// Depends on: media/SoundEffectImpl.h, media/ComException.h, platform/Codepage.h.
#include "media/SoundEffectInstance.h"

#include <cmath>
#include <stdexcept>

#include "media/ComException.h"
#include "media/SoundEffectImpl.h"
#include "platform/Codepage.h"

namespace DirectX {

SoundEffectInstance::Impl::Impl(AudioEngine* engine, SoundEffect::Impl* effect, bool reservedVoice)
    : engine_(engine), effect_(effect), reservedVoice_(reservedVoice) {
    if (engine_) engine_->RegisterNotify(this);
}

SoundEffectInstance::Impl::~Impl() {
    if (effect_) effect_->instances.remove(this);
    DropVoice();
    if (engine_) engine_->UnregisterNotify(this);
}

void SoundEffectInstance::Impl::Halt() {
    if (feed_) {
        if (engine_) engine_->Feeder().Remove(feed_.get());
        feed_->Halt();
        feed_.reset();
        return;
    }
    platform::AudioBackend* backend = engine_ ? engine_->Backend() : nullptr;
    if (backend && voice_ != 0) backend->Stop(voice_);
}

void SoundEffectInstance::Impl::DropVoice() {
    Halt();
    if (voice_ != 0 && engine_) engine_->DestroyVoice(voice_, reservedVoice_);
    voice_ = 0;
}

void SoundEffectInstance::Impl::Play(bool loop) {
    if (voice_ == 0 && engine_ && engine_->Backend() && effect_)
        voice_ = engine_->AllocateVoice(reservedVoice_);
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
    if (!effect_->streamed && startMs_ == 0) {
        platform::BufferId whole = effect_->WholeBuffer();
        return whole != 0 && backend->Start(voice_, whole, loop);
    }
    // A long sound starts once its first pieces are queued; the feeder brings the rest. A sound
    // moved from its start is streamed too, whatever its length, to place it to the sample.
    backend->Stop(voice_);
    std::string why;
    std::unique_ptr<SampleStream> stream = effect_->OpenStream(&why);
    if (!stream) return false;
    const int64_t startFrame = std::llround(startMs_ * stream->Rate() / 1000.0);
    feed_ = std::make_shared<StreamFeed>(backend, voice_, std::move(stream), effect_->loop, loop,
                                         platform::WideToUtf8(effect_->fileName), startFrame);
    if (!feed_->Start()) return false;
    engine_->Feeder().Add(feed_);
    return true;
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
        if (feed_) {
            feed_->ExitLoop();
        } else {
            backend->ExitLoop(voice_);
        }
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
    return feed_ ? feed_->IsSounding() : engine_->Backend()->IsSounding(voice_);
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

void SoundEffectInstance::SetStartOffset(double milliseconds) {
    impl_->SetStartOffset(milliseconds);
}

SoundState SoundEffectInstance::GetState() const { return impl_->state; }

bool SoundEffectInstance::IsSounding() const { return impl_->IsSounding(); }

}  // namespace DirectX
