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
    requestedBgmPath = L"Data/Sound/" + name;
    bgmVolume = GetConfig().Volume * scale * GetConfig().BGMVolume;
}
void SoundManager::PlayMusic(const std::wstring&, float) {}
void SoundManager::PlaySoundEffect(const std::wstring&, float) {}
void SoundManager::Update() { currentBgmPath = requestedBgmPath; }
