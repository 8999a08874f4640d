// Game: the scene in which one chart is played: countdown, lead-in, the song started in a
// fixed update, note motion, judgement and misses, the second counter, the result with its
// ticker, and the return to the music selection.
// Depends on: shell/Scene.h, gameplay/PlaySession.h, gameplay/RunScore.h, gameplay/ColorRgb.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gameplay/ColorRgb.h"
#include "gameplay/HitErrors.h"
#include "gameplay/NoteRecord.h"
#include "gameplay/TimingPanel.h"
#include "shell/Scene.h"

class GameReplay;
struct Replay;

class Game : public Scene {
  public:
    Game();
    ~Game() override;
    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;

    bool musicPending = true;
    bool resultShown = false;
    int32_t bpm = 0;
    int32_t startCountdown = 0;
    int32_t secondsLeft = 0;
    int32_t frameInSecond = 0;
    ColorRgb redFlash;
    ColorRgb redTextColor;
    int32_t redTimer = 0;
    ColorRgb blueFlash;
    ColorRgb blueTextColor;
    int32_t blueTimer = 0;
    std::wstring resultMessage;
    std::wstring redJudgement;
    std::wstring blueJudgement;
    int32_t bonus = 0;
    float gapUnits = 0;
    int32_t pulseCounter = 0;
    ColorRgb trackColor;
    // False for a run whose score must not reach the player's records (a run played by the
    // autoplay); set by whoever creates the scene.
    bool recordsScore = true;
    // The replay this scene plays back instead of the player's keys; null for a run played
    // here (see replay/WatchReplay).
    std::shared_ptr<const Replay> watching;
    // How early or late each press was, and the result's timing panel (GameTiming.cpp).
    HitErrors hitErrors;
    TimingPanel timingPanel;

  private:
    // One lane's notes, keys (Up, Right, Down, Left) and display fields.
    struct Lane {
        std::vector<NoteRecord>& notes;
        const uint32_t* keys;
        ColorRgb& flash;
        ColorRgb& textColor;
        int32_t& timer;
        std::wstring& judgement;
    };
    Lane RedLane();
    Lane BlueLane();

    // Update steps, in their order.
    void JudgementStep();
    void StartAndMotionStep();
    bool SecondStep();
    void PulseStep();

    // Judgement parts (GameJudgement.cpp).
    static void CountDownTimer(Lane lane);
    static void FlashOnPress(Lane lane);
    void JudgeFirstNote(Lane lane);
    void MoveNotes(Lane lane);
    void CheckMiss(Lane lane);
    void ComputeResult();
    bool TickerStep();

    // Drawing parts (GameDraw.cpp).
    void DrawNotes(const std::vector<NoteRecord>& notes, float x, const wchar_t* suffix);
    void DrawScrollingTitle();
    void DrawKeyLetters();
    void DrawPlayTexts();
    void DrawResultTexts();

    // Timing parts (GameTiming.cpp): the hit-error bars in play, the panel on the result.
    void DrawTimingSprites();
    void DrawTimingTexts();

    // Records the run, or plays the watched replay back (GameReplay.cpp).
    std::unique_ptr<GameReplay> replay_;
};
