// GameReplay: recording, playback, the shelf and the marks of a run's replay.
#include "gameplay/GameReplay.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "gameplay/GameScreen.h"
#include "gameplay/PlaySession.h"
#include "gameplay/RunScore.h"
#include "replay/ChartIdentity.h"
#include "replay/ReplayPlayback.h"
#include "replay/ReplayShelf.h"
#include "replay/WatchReplay.h"
#include "selection/MusicChoice.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"
#include "services/TextRenderer.h"
#include "settings/Config.h"
#include "settings/KeyBindings.h"
#include "settings/PlayerProfile.h"
#include "settings/Timing.h"

namespace {

// The latest time within an update a replay keeps (its file takes 0 to under 16 ms).
const float kLastMsOfUpdate = std::nextafter(16.0f, 0.0f);

constexpr uint32_t kWatchKey = 'R';
// The mark of a replay on the play and result screens.
constexpr Color4 kMarkColor{1.0f, 215 / 255.0f, 0.0f, 1.0f};

// The header of a run about to be played: chart identity (from the chart as it was loaded),
// settings and keys.
Replay StartRecord() {
    const MusicChoice& choice = GetMusicChoice();
    const ChartIdentity identity = IdentifyLoadedChart(choice.title, GetPlaySession().chartBytes);
    Replay replay;
    replay.level = LevelIndex(choice.level) + 1;
    replay.game = LYRANDEL_VERSION;
    replay.title = choice.title;
    replay.chartDigest = identity.chartDigest;
    replay.songSize = identity.songSize;
    replay.bpm = GetPlaySession().BPM;
    replay.second = GetPlaySession().Second;
    replay.hitGap = GetConfig().HitGap;
    replay.globalOffsetMs = static_cast<float>(GlobalOffsetMs());
    replay.songOffsetMs = static_cast<float>(SongOffsetMs(choice.title));
    replay.keys = GetKeyBindings().lanes;
    return replay;
}

}  // namespace

GameReplay::GameReplay(Game& game) : game_(game) {
    if (game.watching) {
        kept_ = game.watching;
        playback_ = std::make_unique<ReplayPlayback>(game.watching, GetKeyBindings().lanes);
        KeyInput::Get().feed = playback_.get();
        return;
    }
    if (!game.recordsScore) return;
    pending_ = StartRecord();
    recorder_.emplace(pending_->keys);
}

GameReplay::~GameReplay() {
    if (playback_ && KeyInput::Get().feed == playback_.get()) KeyInput::Get().feed = nullptr;
}

void GameReplay::BeforeUpdate() {
    ++update_;
    if (!recorder_) return;
    const KeyTimes& times = KeyTimes::Get();
    // A frame that came late gives its presses more than an update's time: the file keeps
    // times within one update, which is what judged them.
    recorder_->Observe(update_, KeyInput::Get().state, [&times](uint32_t key) {
        const std::optional<double> ms = times.DownIn(key);
        if (!ms) return std::optional<float>();
        return std::optional<float>(std::clamp(static_cast<float>(*ms), 0.0f, kLastMsOfUpdate));
    });
}

void GameReplay::AfterUpdate() {
    if (recorder_ && GetRunScore().complete) Keep();
}

void GameReplay::Keep() {
    Replay& replay = *pending_;
    const RunScore& run = GetRunScore();
    replay.outcome = {run.score, run.maxCombo, run.perfect, run.great, run.ok, run.bad, run.miss};
    const PlayerProfile& profile = GetPlayerProfile();
    replay.account = profile.state == AccountState::kSignedIn ? profile.name : L"";
    replay.date = UtcDateNow();
    replay.events = recorder_->events();
    kept_ = std::make_shared<const Replay>(std::move(replay));
    recorder_.reset();
    pending_.reset();
    std::string path, error;
    if (!ShelveReplay(*kept_, &path, &error))
        std::fprintf(stderr, "lyrandel: the replay of this run is not kept: %s\n", error.c_str());
}

Scene* GameReplay::WatchOnKey() {
    if (!kept_ || !KeyInput::Get().IsKeyPressed(kWatchKey)) return nullptr;
    std::string error;
    std::unique_ptr<Game> watch = WatchReplay(kept_, &error);
    if (!watch) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        return nullptr;
    }
    SoundManager::Get().PlayMusic(L"", 0.0f);
    return watch.release();
}

void GameReplay::DrawTexts() const {
    if (game_.watching) {
        const std::wstring& who = game_.watching->account;
        DrawTextBlock(L"REPLAY\n" + (who.empty() ? std::wstring(L"Guest") : who),
                      {10, 280, 210, 880}, kMarkColor);
    }
    if (kept_ && game_.resultShown && game_.resultMessage.empty())
        DrawTextBlock(L"Push R Key to Watch the Replay", {200, 268, 1020, 868}, {1, 1, 1, 1});
}
