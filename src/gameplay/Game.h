// Game: one of the game's screens (placeholder until its scene lands).
// Depends on: shell/Scene.h.
#pragma once

#include "shell/Scene.h"

class Game : public Scene {
  public:
    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;
};
