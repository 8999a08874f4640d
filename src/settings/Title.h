// Title: the first screen: an animated effect sprite, the game's name and a prompt, with the
// title music; Space goes to the music selection, E to the configuration.
// Depends on: shell/Scene.h, services (textures, sprites, text, keys), audio/SoundManager.
#pragma once

#include <cstdint>

#include "shell/Scene.h"

class Title : public Scene {
  public:
    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;

  private:
    // Current cell of the 15-cell effect animation; set by Initialize.
    int32_t animFrame;
    // Updates since the cell last changed, 0 to 3; set by Initialize.
    int32_t animTick;
};
