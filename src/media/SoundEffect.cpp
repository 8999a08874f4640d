// SoundEffect: reading and checking the file (whole, or all but the samples of a long one, or
// a compressed song's decoder), preparing a short sound's samples whole, opening readers of a
// streamed one, making instances, and taking them down with it.
// Depends on: media/SoundEffectImpl.h, media/SystemError.h, platform/Codepage.h.
#include "media/SoundEffect.h"

#include <algorithm>
#include <cwctype>

#include "media/SoundEffectImpl.h"
#include "media/SystemError.h"
#include "platform/Codepage.h"

namespace DirectX {

bool IsCompressedSoundName(const std::wstring& fileName) {
    size_t dot = fileName.find_last_of(L"./");
    if (dot == std::wstring::npos || fileName[dot] != L'.') return false;
    std::wstring ending = fileName.substr(dot + 1);
    for (wchar_t& c : ending) c = wchar_t(std::towlower(wint_t(c)));
    return ending == L"ogg" || ending == L"opus" || ending == L"flac" || ending == L"mp3";
}

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

void SoundEffect::Impl::Load(const std::wstring& name) {
    fileName = name;
    if (name.empty()) throw SoundEffectError(kInvalidArg, name);
    const std::string path = platform::WideToUtf8(name);
    if (IsCompressedSoundName(name)) return LoadCompressed(path);
    int systemError = 0;
    HRESULT hr = LoadWav(path, &systemError);
    if (Failed(hr)) throw SoundEffectError(hr, name, systemError);
}

HRESULT SoundEffect::Impl::LoadWav(const std::string& path, int* systemError) {
    if (HRESULT hr = SoundFile::Open(path, file, systemError); Failed(hr)) return hr;
    if (HRESULT hr = ParseWavData(file->data(), file->size(), info); Failed(hr)) return hr;
    return Initialize();
}

void SoundEffect::Impl::LoadCompressed(const std::string& path) {
    int systemError = 0;
    std::string why;
    decoder = platform::OpenAudioDecoder(path, &systemError, &why);
    if (!decoder)
        throw SoundEffectError(systemError ? HresultFromOpenErrno(systemError, path) : kFail,
                               fileName, systemError, why);
    if (!engine) throw SoundEffectError(kInvalidArg, fileName);
    streamed = true;
}

HRESULT SoundEffect::Impl::Initialize() {
    if (!engine || !IsValidWaveFormat(info.format, info.formatBytes) || !info.sampleStart ||
        info.sampleBytes == 0 || !file)
        return kInvalidArg;
    format = DecodeWaveFormat(info.format, info.formatBytes);
    uint32_t tag = EffectiveFormatTag(format);
    if (tag != kWaveFormatPcm && tag != kWaveFormatAdpcm && tag != kWaveFormatFloat)
        return kNotSupported;
    layout = LayoutOf(format);
    loop = {info.loopStart, info.loopLength};
    streamed = !file->whole();
    if (streamed) return kOk;
    // A short sound is made ready whole: what the back end plays, and where it lies.
    samples.type = layout.outType;
    samples.rate = layout.rate;
    samples.loopStart = info.loopStart;
    samples.loopLength = info.loopLength;
    size_t units = info.sampleBytes / layout.unitBytes;
    if (layout.passThrough) {
        samples.bytes = info.sampleStart;
        samples.size = units * layout.unitBytes;
    } else {
        ConvertUnits(layout, info.sampleStart, units, converted);
        samples.bytes = converted.data();
        samples.size = converted.size();
    }
    return kOk;
}

platform::BufferId SoundEffect::Impl::WholeBuffer() {
    platform::AudioBackend* backend = engine ? engine->Backend() : nullptr;
    if (buffer == 0 && backend && samples.size > 0) {
        std::string error;
        buffer = backend->CreateBuffer(samples, &error);
    }
    return buffer;
}

std::unique_ptr<SampleStream> SoundEffect::Impl::OpenStream(std::string* why) {
    if (file) {
        uint64_t offset = uint64_t(info.sampleStart - file->data());
        return OpenWavStream(file, offset, info.sampleBytes, layout);
    }
    // The decoder opened at load serves the first play; later plays open the file again.
    std::unique_ptr<platform::AudioDecoder> fresh = std::move(decoder);
    if (!fresh) {
        int systemError = 0;
        fresh = platform::OpenAudioDecoder(platform::WideToUtf8(fileName), &systemError, why);
    }
    return fresh ? OpenDecodedStream(std::move(fresh)) : nullptr;
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

std::unique_ptr<SoundEffectInstance> SoundEffect::CreateInstance(uint32_t flags) {
    auto impl = std::make_unique<SoundEffectInstance::Impl>(impl_->engine, impl_.get(),
                                                            (flags & kInstanceReservedVoice) != 0);
    impl_->instances.push_back(impl.get());
    return std::unique_ptr<SoundEffectInstance>(new SoundEffectInstance(std::move(impl)));
}

const WaveFileInfo& SoundEffect::GetInfo() const { return impl_->info; }

bool SoundEffect::IsStreamed() const { return impl_->streamed; }

}  // namespace DirectX
