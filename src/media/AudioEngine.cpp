// AudioEngine: opening the output, the silent state, loss detection in Update, and the voice
// and notification bookkeeping that effects and instances rely on.
// Depends on: media/AudioEngine.h, media/WAVFileReader.h, platform/AudioBackend.h.
#include "media/AudioEngine.h"

#include <cstdio>
#include <stdexcept>
#include <vector>

#include "media/WAVFileReader.h"

namespace DirectX {
namespace {

// A mix format the engine can be asked for: PCM with sane channel count and rate.
bool IsUsableMixFormat(const WaveFormat& f) {
    return f.formatTag == kWaveFormatPcm && f.channels >= 1 && f.channels <= 64 &&
           f.samplesPerSec >= 1000 && f.samplesPerSec <= 200000;
}

// Says once per process that the game goes on without sound.
void ReportSilentStart() {
    static bool told = false;
    if (told) return;
    told = true;
    std::fprintf(stderr, "lyrandel: no sound device found; running without sound\n");
}

}  // namespace

AudioEngine::AudioEngine(uint32_t flags, const WaveFormat* format) {
    if (format && !IsUsableMixFormat(*format)) {
        std::fprintf(stderr, "lyrandel: audio engine failed (%08X): unusable mix format\n",
                     unsigned(kInvalidArg));
        throw std::runtime_error("AudioEngine");
    }
    bool noDevice = false;
    std::string error;
    backend_ = platform::OpenAudioOutput(&noDevice, &error);
    if (backend_) {
        ReserveVoices();
        return;
    }
    if (!noDevice) {
        std::fprintf(stderr, "lyrandel: audio engine failed: %s\n", error.c_str());
        throw std::runtime_error("AudioEngine");
    }
    if (flags & kAudioEngineThrowOnNoAudioHw) throw std::runtime_error("AudioEngineNoAudioHW");
    ReportSilentStart();
}

AudioEngine::AudioEngine(std::unique_ptr<platform::AudioBackend> backend)
    : backend_(std::move(backend)) {
    if (backend_) ReserveVoices();
}

AudioEngine::~AudioEngine() {
    // Every object forgets the engine; effects first tell their instances, so no buffer is
    // freed while a voice still holds it.
    std::vector<IVoiceNotify*> all(notifySet_.begin(), notifySet_.end());
    for (IVoiceNotify* notify : all) notify->OnDestroyEngine();
    notifySet_.clear();
    updateSet_.clear();
    ReleaseReservedVoices();
}

void AudioEngine::ReserveVoices() {
    std::string error;
    while (reserved_.size() < kReservedVoices) {
        platform::VoiceId voice = backend_->CreateVoice(&error);
        if (voice == 0) break;
        reserved_.push_back(voice);
    }
}

void AudioEngine::ReleaseReservedVoices() {
    if (backend_)
        for (platform::VoiceId voice : reserved_) backend_->DestroyVoice(voice);
    reserved_.clear();
}

bool AudioEngine::Update() {
    if (!backend_) return false;
    if (!backend_->IsConnected()) {
        EnterCriticalError();
        return false;
    }
    feeder_.FeedNow();
    std::vector<IVoiceNotify*> due(updateSet_.begin(), updateSet_.end());
    for (IVoiceNotify* notify : due)
        if (updateSet_.count(notify)) notify->OnUpdate();
    return true;
}

void AudioEngine::EnterCriticalError() {
    criticalError_ = true;
    std::vector<IVoiceNotify*> all(notifySet_.begin(), notifySet_.end());
    for (IVoiceNotify* notify : all) notify->OnCriticalError();
    updateSet_.clear();
    instanceVoiceCount_ = 0;
    reserved_.clear();  // they go with the device
    backend_.reset();
    std::fprintf(stderr, "lyrandel: the sound device was lost; going on without sound\n");
}

platform::VoiceId AudioEngine::AllocateVoice(bool reserved) {
    if (!backend_ || criticalError_) return 0;
    if (instanceVoiceCount_ + 1 >= instanceVoiceLimit_)
        throw std::runtime_error("Too many instance voices");
    platform::VoiceId voice = 0;
    if (reserved && !reserved_.empty()) {
        voice = reserved_.back();
        reserved_.pop_back();
    } else {
        std::string error;
        voice = backend_->CreateVoice(&error);
    }
    if (voice == 0) throw std::runtime_error("CreateSourceVoice");
    ++instanceVoiceCount_;
    return voice;
}

void AudioEngine::DestroyVoice(platform::VoiceId voice, bool reserved) {
    if (!backend_ || voice == 0) return;
    if (instanceVoiceCount_ > 0) --instanceVoiceCount_;
    if (reserved && reserved_.size() < kReservedVoices) {
        // Back to its first state for the next sound: stopped, empty, at unity gain.
        backend_->Stop(voice);
        backend_->SetGain(voice, 1.0f);
        reserved_.push_back(voice);
        return;
    }
    backend_->DestroyVoice(voice);
}

void AudioEngine::RegisterNotify(IVoiceNotify* notify) { notifySet_.insert(notify); }

void AudioEngine::UnregisterNotify(IVoiceNotify* notify) {
    notifySet_.erase(notify);
    updateSet_.erase(notify);
}

void AudioEngine::RegisterUpdate(IVoiceNotify* notify) { updateSet_.insert(notify); }

void AudioEngine::UnregisterUpdate(IVoiceNotify* notify) { updateSet_.erase(notify); }

}  // namespace DirectX
