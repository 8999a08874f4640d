// SoundManager: placeholder until the audio engine lands: requests are kept, nothing sounds.
#include "audio/SoundManager.h"

#include "settings/Config.h"

namespace DirectX {
class AudioEngine {};
}  // namespace DirectX

SoundManager& SoundManager::Get() {
    static SoundManager manager;
    return manager;
}
SoundManager::~SoundManager() = default;
void SoundManager::RequestBackgroundMusic(const std::wstring& name, float scale) {
    if (observer) observer({SoundCall::Kind::BackgroundMusic, name, scale});
    requestedBgmPath = L"Data/Sound/" + name;
    bgmVolume = GetConfig().Volume * scale * GetConfig().BGMVolume;
}
void SoundManager::PlayMusic(const std::wstring& name, float scale) {
    if (observer) observer({SoundCall::Kind::Music, name, scale});
}
void SoundManager::PlaySoundEffect(const std::wstring& name, float scale) {
    if (observer) observer({SoundCall::Kind::Effect, name, scale});
}
void SoundManager::Update() { currentBgmPath = requestedBgmPath; }
