// Autoplay: plays a run as a perfect player would. Before each update of the Game scene it
// looks at the first note of each lane, as the screen shows it, and presses that note's key in
// the update in which the note lies nearest the hit line; the key goes up again before the
// next update. Keys reach the game as key messages to the keyboard, the road a player's keys
// take, so the judgement, the flashes and the sounds are the game's own.
// A key must be up for one update between two presses, so a note whose key went down in the
// previous update waits one update more.
// Depends on: gameplay/PlaySession.h, gameplay/Judgement.h, settings/Config.h, media/Keyboard.h.
#pragma once

#include <cstdint>
#include <vector>

#include "gameplay/NoteRecord.h"

class Autoplay {
  public:
    // Plays the chart loaded into the play session, counting the Game scene's updates from 1
    // (the scene must have been initialised and not updated yet).
    Autoplay();

    // Call before the keyboard is read for the next update: releases the keys of the previous
    // update and presses those of this one.
    void BeforeUpdate();

  private:
    // Presses the key of a lane's first note when this update is its best.
    void PlayLane(const std::vector<NoteRecord>& notes, const uint32_t keys[4]);

    int64_t update_ = 0;
    // The play length of the chart, for the updates in which notes move and can be judged.
    int32_t second_ = 0;
    // Keys pressed in the current update, released before the next.
    std::vector<uint32_t> down_;
    // Keys released before this update: they cannot go down again until the next.
    std::vector<uint32_t> justReleased_;
};
