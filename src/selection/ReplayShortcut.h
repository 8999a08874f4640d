// ReplayShortcut: V on the selection screen watches the best replay of the highlighted song at
// the chosen level: the signed-in account's (the guest's when no one is signed in), recorded on
// the chart as it is now. When there is none, or it cannot be played, the screen says so for
// two seconds.
// Depends on: replay (ReplayShelf, ChartIdentity, WatchReplay), settings/PlayerProfile.h,
// services (KeyInput, TextRenderer), audio/SoundManager.
#pragma once

#include <cstdint>
#include <string>

class Scene;

class ReplayShortcut {
  public:
    // One update: V makes the scene that watches the best replay of title at level (0 to 2);
    // nullptr otherwise.
    Scene* Update(const std::wstring& title, int32_t level);
    // The notice, while it lasts.
    void DrawTexts() const;

  private:
    std::wstring notice_;
    int32_t noticeLeft_ = 0;
};
