// Game: set-up of a run and the order of the steps of one update: judgement, countdown and
// motion, the second counter with the result ticker, the leave step and the track pulse.
// Depends on: services (TextureStore, KeyInput), audio/SoundManager and SongFile, settings/Config,
// selection (MusicChoice, SelectMusic), gameplay records, replay/Replay.h (a watched run's gap).
#include "gameplay/Game.h"

#include <cstdio>

#include "audio/SongFile.h"
#include "audio/SoundManager.h"
#include "gameplay/GameReplay.h"
#include "gameplay/GameScreen.h"
#include "gameplay/PlaySession.h"
#include "gameplay/RunScore.h"
#include "platform/Codepage.h"
#include "replay/Replay.h"
#include "selection/MusicChoice.h"
#include "selection/SelectMusic.h"
#include "services/KeyInput.h"
#include "services/TextureStore.h"
#include "settings/Config.h"
#include "settings/KeyBindings.h"
#include "settings/Timing.h"

namespace {

constexpr uint32_t kSpace = 0x20;
// The countdown value at which the song starts and stays.
constexpr int32_t kSongStart = -63;

// Loads the hit marker, the eight note sprites and the track; false at the first failure.
bool LoadTextures() {
    std::vector<std::pair<std::wstring, std::wstring>> textures = {{L"HitArea", L"Hit.png"}};
    for (const wchar_t* lane : {L"_Red", L"_Blue"})
        for (const wchar_t* word : {L"Up", L"Right", L"Down", L"Left"})
            textures.push_back({std::wstring(word) + lane, std::wstring(word) + lane + L".png"});
    textures.push_back({L"skk", L"kk.png"});
    for (const auto& [name, file] : textures) {
        if (!TextureStore::Get().Load(name, file)) {
            std::fprintf(stderr, "lyrandel: %s: cannot be loaded\n",
                         platform::WideToUtf8(L"Data/Texture/" + file).c_str());
            return false;
        }
    }
    return true;
}

}  // namespace

Game::Game() = default;
Game::~Game() = default;

// The lanes play the keys the player bound (W D S A and I L K J unless changed).
Game::Lane Game::RedLane() {
    return {GetPlaySession().redNotes,
            GetKeyBindings().red(),
            redFlash,
            redTextColor,
            redTimer,
            redJudgement};
}

Game::Lane Game::BlueLane() {
    return {GetPlaySession().blueNotes,
            GetKeyBindings().blue(),
            blueFlash,
            blueTextColor,
            blueTimer,
            blueJudgement};
}

bool Game::Initialize() {
    if (!GetPlaySession().LoadChart()) return false;
    // The jacket first: making room for it lets other jackets go, never the scene's textures.
    TextureStore::Get().jackets().Use(GetMusicChoice().title);
    if (!LoadTextures()) return false;
    musicPending = true;
    resultShown = false;
    bpm = GetPlaySession().BPM;
    startCountdown = 270;
    secondsLeft = GetPlaySession().Second + 5;
    frameInSecond = -60;
    redFlash = redTextColor = blueFlash = blueTextColor = kWhite;
    redTimer = blueTimer = 0;
    resultMessage.clear();
    redJudgement.clear();
    blueJudgement.clear();
    GetRunScore() = RunScore{};
    // A watched replay is judged with the hit gap it was played with.
    gapUnits = (watching ? watching->hitGap : GetConfig().HitGap) / 1350.0f;
    pulseCounter = 0;
    trackColor = ColorsOfLevel(GetMusicChoice().level).bright;
    hitErrors.Start(GetPlaySession());
    timingPanel.Start(GetMusicChoice().title);
    replay_ = std::make_unique<GameReplay>(*this);
    return true;
}

Scene* Game::Update() {
    replay_->BeforeUpdate();
    JudgementStep();
    StartAndMotionStep();
    bool tickerRan = startCountdown <= kSongStart && SecondStep();
    replay_->AfterUpdate();
    // A watched replay's keys are not the player's: its errors move no offset.
    if (resultShown && !watching) timingPanel.Update(hitErrors, GetMusicChoice().title);
    if (resultShown && !tickerRan && KeyInput::Get().IsKeyPressed(kSpace)) return new SelectMusic;
    if (resultShown && !tickerRan)
        if (Scene* watch = replay_->WatchOnKey()) return watch;
    PulseStep();
    return nullptr;
}

// Timers, key flashes, and once the song plays the first note of each lane.
void Game::JudgementStep() {
    CountDownTimer(RedLane());
    CountDownTimer(BlueLane());
    FlashOnPress(RedLane());
    FlashOnPress(BlueLane());
    if (musicPending) return;
    JudgeFirstNote(RedLane());
    JudgeFirstNote(BlueLane());
}

// Counts the start down, starts the song at its update, and moves the notes while time is left.
void Game::StartAndMotionStep() {
    if (startCountdown > 0) {
        --startCountdown;
        return;
    }
    if (startCountdown > kSongStart) --startCountdown;
    if (startCountdown <= kSongStart && musicPending) {
        const std::wstring& title = GetMusicChoice().title;
        SoundManager::Get().PlayMusicAt(SongMusicName(title), 0.8f, SongStartMs(title));
        musicPending = false;
    }
    if (secondsLeft > 0) {
        MoveNotes(RedLane());
        CheckMiss(RedLane());
        MoveNotes(BlueLane());
        CheckMiss(BlueLane());
        hitErrors.NotesMoved();
    }
}

// Counts updates within a second; counts seconds down, then computes the result once.
// Returns whether the result ticker ran.
bool Game::SecondStep() {
    int32_t old = frameInSecond;
    frameInSecond = (old + 1) % 60;
    if (frameInSecond == 0 && old >= 0) {
        if (secondsLeft >= 0) {
            --secondsLeft;
        } else if (!resultShown) {
            ComputeResult();
            resultShown = true;
        }
    }
    return TickerStep();
}

// Alternates the track between the level's bright and dark colours.
void Game::PulseStep() {
    PulsePeriod pulse = PulseOf(bpm);
    pulseCounter = (pulseCounter + 1) % pulse.period;
    const LevelColors& colors = ColorsOfLevel(GetMusicChoice().level);
    if (pulseCounter == 0) trackColor = colors.bright;
    if (pulseCounter == pulse.darkAt) trackColor = colors.dark;
}
