// SelectMusic: the music selection screen: the highlighted piece's jacket between its two
// neighbours, a recurring preview, the level choice, and the hand-over to the gameplay.
// Depends on: shell/Scene.h, selection/MusicList.h, selection/MusicChoice.h, services,
// audio/SoundManager, settings/PlayerProfile.
#pragma once

#include <cstdint>
#include <vector>

#include "selection/MusicList.h"
#include "selection/ReplayShortcut.h"
#include "shell/Scene.h"

class SelectMusic : public Scene {
  public:
    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;

  private:
    // Advances the preview clock: card sound on a new highlight, then 61-update ticks.
    void RunPreview();
    // The entry step entries away from the highlighted one, wrapping both ways.
    const MusicEntry& Neighbour(int step) const;
    // Makes the three shown jackets ready and, in a frame that has no other jacket or move to
    // deal with, decodes one ahead; records which can be drawn.
    void PrepareJackets();

    std::vector<MusicEntry> entries;
    // The highlight at the end of the previous update; -1 right after Initialize.
    int32_t shownIndex = -1;
    int32_t index = 0;
    // Difficulty level 0, 1 or 2.
    int32_t level = 0;
    // Updates left in the current preview tick.
    int32_t countdown = 0;
    // Preview schedule: -2 and -3 wait, 15 down to 0 play, -1 to -3 pause, -4 restarts.
    int32_t previewPhase = 0;
    // Whether the previous, highlighted and next jackets can be drawn this frame.
    bool jacketShown[3] = {false, false, false};
    // The highlight of the previous draw; -1 before the first.
    int32_t drawnIndex = -1;
    // V: the best replay of the chosen level.
    ReplayShortcut replayKey;
};
