// SoundEffect: mapping and checking the file, uploading its samples when first played whole,
// making instances, and taking them down with it.
// Depends on: media/SoundEffectImpl.h, media/WaveSamples.h.
#include "media/SoundEffect.h"

#include "media/SoundEffectImpl.h"
#include "media/WaveSamples.h"

namespace DirectX {

SoundEffect::Impl::Impl(AudioEngine* engine) : engine(engine) {
    if (engine) engine->RegisterNotify(this);
}

SoundEffect::Impl::~Impl() {
    // Instances still alive fall silent first, so the buffer is free to go.
    std::list<SoundEffectInstance::Impl*> orphans;
    orphans.swap(instances);
    for (SoundEffectInstance::Impl* instance : orphans) instance->OnDestroyParent();
    ReleaseBuffer();
    if (engine) engine->UnregisterNotify(this);
}

void SoundEffect::Impl::Load(const std::wstring& fileName) {
    HRESULT hr = MapWavFile(fileName, file, info);
    if (!Failed(hr)) hr = Initialize();
    if (Failed(hr)) throw SoundEffectError(hr, fileName);
}

HRESULT SoundEffect::Impl::Initialize() {
    if (!engine || !IsValidWaveFormat(info.format, info.formatBytes) || !info.sampleStart ||
        info.sampleBytes == 0 || !file)
        return kInvalidArg;
    format = DecodeWaveFormat(info.format, info.formatBytes);
    uint32_t tag = EffectiveFormatTag(format);
    if (tag != kWaveFormatPcm && tag != kWaveFormatAdpcm && tag != kWaveFormatFloat)
        return kNotSupported;
    samples = PrepareSamples(format, info.sampleStart, info.sampleBytes, converted);
    samples.loopStart = info.loopStart;
    samples.loopLength = info.loopLength;
    return kOk;
}

platform::BufferId SoundEffect::Impl::WholeBuffer() {
    platform::AudioBackend* backend = engine ? engine->Backend() : nullptr;
    if (buffer == 0 && backend) {
        std::string error;
        buffer = backend->CreateBuffer(samples, &error);
    }
    return buffer;
}

bool SoundEffect::Impl::StreamsOnce() const { return samples.size > 8 * PieceBytes(); }

size_t SoundEffect::Impl::PieceBytes() const {
    size_t units = samples.rate / 2 / platform::UnitFrames(samples);
    return (units > 0 ? units : 1) * platform::UnitBytes(samples);
}

void SoundEffect::Impl::ReleaseBuffer() {
    if (buffer != 0 && engine && engine->Backend()) engine->Backend()->DestroyBuffer(buffer);
    buffer = 0;
}

void SoundEffect::Impl::OnCriticalError() {
    for (SoundEffectInstance::Impl* instance : instances) instance->OnCriticalError();
    ReleaseBuffer();
}

void SoundEffect::Impl::OnDestroyEngine() {
    for (SoundEffectInstance::Impl* instance : instances) instance->OnDestroyEngine();
    ReleaseBuffer();
    engine = nullptr;
}

SoundEffect::SoundEffect(AudioEngine* engine, const std::wstring& fileName)
    : impl_(std::make_unique<Impl>(engine)) {
    impl_->Load(fileName);
}

SoundEffect::~SoundEffect() = default;

std::unique_ptr<SoundEffectInstance> SoundEffect::CreateInstance(uint32_t) {
    auto impl = std::make_unique<SoundEffectInstance::Impl>(impl_->engine, impl_.get());
    impl_->instances.push_back(impl.get());
    return std::unique_ptr<SoundEffectInstance>(new SoundEffectInstance(std::move(impl)));
}

const WaveFileInfo& SoundEffect::GetInfo() const { return impl_->info; }

}  // namespace DirectX
