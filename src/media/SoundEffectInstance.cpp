// SoundEffectInstance: one voice playing one effect's buffer, with the state rules of the
// engine: Play does nothing while playing, an immediate Stop silences at once, the volume is
// kept for a voice made later.
// Depends on: media/SoundEffectImpl.h, media/ComException.h.
#include "media/SoundEffectInstance.h"

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

void SoundEffectInstance::Impl::DropVoice() {
    if (voice_ != 0 && engine_) engine_->DestroyVoice(voice_);
    voice_ = 0;
}

void SoundEffectInstance::Impl::Play(bool loop) {
    if (voice_ == 0 && engine_ && effect_ && effect_->buffer != 0)
        voice_ = engine_->AllocateVoice(effect_->format.channels > 1 ? 2 : 1);
    if (voice_ == 0 || state == SoundState::PLAYING) return;
    platform::AudioBackend* backend = engine_->Backend();
    if (volume_ != 1.0f && !backend->SetGain(voice_, volume_)) throw com_exception(kFail);
    state = SoundState::PLAYING;
    looped_ = loop;
    if (!backend->Start(voice_, effect_->buffer, loop)) {
        Stop(true);
        throw std::runtime_error("SubmitSourceBuffer");
    }
}

void SoundEffectInstance::Impl::Stop(bool immediate) {
    platform::AudioBackend* backend = engine_ ? engine_->Backend() : nullptr;
    if (voice_ == 0 || !backend) {
        state = SoundState::STOPPED;
        return;
    }
    if (immediate) {
        state = SoundState::STOPPED;
        backend->Stop(voice_);
    } else if (looped_) {
        looped_ = false;
        backend->ExitLoop(voice_);
    } else {
        backend->Stop(voice_);
    }
}

void SoundEffectInstance::Impl::SetVolume(float volume) {
    volume_ = volume;
    if (voice_ != 0 && !engine_->Backend()->SetGain(voice_, volume)) throw com_exception(kFail);
}

bool SoundEffectInstance::Impl::IsSounding() const {
    return voice_ != 0 && engine_ && engine_->Backend() && engine_->Backend()->IsSounding(voice_);
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
