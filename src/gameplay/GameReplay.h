// GameReplay: what the Game scene does about replays, kept out of the scene's own steps. A run
// that counts (not the autoplay's, not a replay's) is recorded from its first update and kept
// on the replay shelf the moment its result is complete; its chart is named by the digest of
// the chart file as the scene loaded it. A replay being watched has its keys played back
// through the keyboard (the scene judges it with the hit gap it was played with), is marked as
// a replay on the screen and records nothing. On the finished result screen R watches the
// run just played (or watched) again.
// Depends on: gameplay/Game.h, gameplay/PlaySession.h (the loaded chart), replay (Replay,
// ReplayRecorder, ReplayPlayback, ChartIdentity, ReplayShelf, WatchReplay), services (KeyInput,
// KeyTimes, TextRenderer), settings (KeyBindings, PlayerProfile, Config, Timing),
// audio/SoundManager.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "replay/Replay.h"
#include "replay/ReplayRecorder.h"

class Game;
class ReplayPlayback;
class Scene;

class GameReplay {
  public:
    // Prepares the initialised scene's run: plays back what it watches, or records it.
    explicit GameReplay(Game& game);
    ~GameReplay();
    GameReplay(const GameReplay&) = delete;
    GameReplay& operator=(const GameReplay&) = delete;

    // First in each update: counts it and records the lane keys it sees.
    void BeforeUpdate();
    // After the update's steps: keeps the run once its result is complete.
    void AfterUpdate();
    // On the finished result screen: R makes the scene that watches this run; else nullptr.
    Scene* WatchOnKey();
    // The replay mark while watching, and the R hint on the finished result screen.
    void DrawTexts() const;

  private:
    // Shelves the finished run's replay.
    void Keep();

    Game& game_;
    int64_t update_ = 0;
    // The run being recorded: its header, filled at the start, and its events (the recorder is
    // there only while the run is recorded, before anything is kept).
    std::optional<Replay> pending_;
    std::optional<ReplayRecorder> recorder_;
    std::unique_ptr<ReplayPlayback> playback_;
    // The replay R watches: the finished run's, or the one being watched.
    std::shared_ptr<const Replay> kept_;
};
