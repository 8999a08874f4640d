// WatchReplay: the checks before a replay plays, and the scene that plays it.
#include "replay/WatchReplay.h"

#include "gameplay/Game.h"
#include "gameplay/PlaySession.h"
#include "platform/Codepage.h"
#include "replay/ChartIdentity.h"
#include "selection/DirectChoice.h"
#include "selection/MusicChoice.h"

std::unique_ptr<Game> WatchReplay(std::shared_ptr<const Replay> replay, std::string* error,
                                  const ChartIdentity* identity) {
    std::string reason;
    const MusicChoice before = GetMusicChoice();
    ChartIdentity now;
    if (!ChooseDirectly(replay->title, replay->level, reason) ||
        (!identity && !IdentifyReplayChart(*replay, &now, &reason)) ||
        !IdentityMatches(*replay, identity ? *identity : now, &reason)) {
        GetMusicChoice() = before;
        if (error) *error = "the replay cannot be played: " + reason;
        return nullptr;
    }
    PlaySession& session = GetPlaySession();
    session.BPM = replay->bpm;
    session.Second = replay->second;
    auto game = std::make_unique<Game>();
    game->watching = std::move(replay);
    game->recordsScore = false;
    return game;
}
