// WatchReplay: the Game scene that plays a replay back, made only when the replay can play as
// it was recorded: its song is in the music list with that level playable, the chart and song
// files are those it was recorded on, and it needs nothing this game cannot apply (the audio
// offsets, which this game does not have yet, must be 0). The selection's choice becomes the
// replay's song and level, and the play session starts from the recorded tempo and play length,
// so a chart that leaves them out reads as it did in the run.
// Depends on: gameplay/Game.h, replay/Replay.h, replay/ChartIdentity.h, selection/DirectChoice.h,
// gameplay/PlaySession.h.
#pragma once

#include <memory>
#include <string>

#include "replay/Replay.h"

class Game;
struct ChartIdentity;

// The scene, not yet initialised; nullptr with the reason in error (nothing is changed then).
// identity is that of the replay's chart as the caller just found it; without one the chart is
// identified here.
std::unique_ptr<Game> WatchReplay(std::shared_ptr<const Replay> replay, std::string* error,
                                  const ChartIdentity* identity = nullptr);
