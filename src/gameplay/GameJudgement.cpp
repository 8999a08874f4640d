// GameJudgement: the judgement and scoring steps of the Game scene: lane timers and key
// flashes, the judgement of a lane's first note, note motion with the miss check, the result
// with its bonus, and the result ticker that hands the final score to the player's records.
// Depends on: gameplay/Judgement.h, gameplay records, audio/SoundManager, settings/PlayerProfile.
#include <string>

#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "gameplay/GameScreen.h"
#include "gameplay/Judgement.h"
#include "gameplay/PlaySession.h"
#include "gameplay/RunScore.h"
#include "selection/MusicChoice.h"
#include "services/KeyInput.h"
#include "settings/PlayStats.h"
#include "settings/PlayerProfile.h"

namespace {

// Updates a lane's word, flash and word colour stay on the screen.
constexpr int32_t kDisplayUpdates = 8;

// Counts a judgement in the run's record.
void CountGrade(RunScore& run, Grade grade) {
    switch (grade) {
        case Grade::kPerfect:
            ++run.perfect;
            break;
        case Grade::kGreat:
            ++run.great;
            break;
        case Grade::kOk:
            ++run.ok;
            break;
        case Grade::kBad:
            ++run.bad;
            break;
        case Grade::kNone:
            break;
    }
}

}  // namespace

// Clears the lane's word and colours when its display time has run out.
void Game::CountDownTimer(Lane lane) {
    lane.timer -= 1;
    if (lane.timer > 0) return;
    lane.judgement.clear();
    lane.flash = kWhite;
    lane.textColor = kWhite;
    lane.timer = 0;
}

// Flashes the lane's marker and sounds once when any of its keys went down.
void Game::FlashOnPress(Lane lane) {
    bool pressed = false;
    for (int d = 0; d < 4; ++d) pressed = pressed || KeyInput::Get().IsKeyPressed(lane.keys[d]);
    if (!pressed) return;
    lane.flash = kPressFlash;
    lane.timer = kDisplayUpdates;
    SoundManager::Get().PlaySoundEffect(L"タンバリンの音.wav", 0.4f);
}

// Judges the lane's first note when it is in reach and the key of its direction went down.
void Game::JudgeFirstNote(Lane lane) {
    if (lane.notes.empty()) return;
    const NoteRecord& note = lane.notes.front();
    float unit = WindowUnit(GetPlaySession().BPM);
    if (!InReach(note.distance, unit, gapUnits)) return;
    if (note.direction < 0 || note.direction > 3) return;
    if (!KeyInput::Get().IsKeyPressed(lane.keys[note.direction])) return;
    Grade grade = GradeOf(note.distance, unit, gapUnits);
    if (grade == Grade::kNone) return;
    const GradeInfo& info = InfoOf(grade);
    RunScore& run = GetRunScore();
    lane.judgement = info.word;
    lane.flash = info.color;
    lane.textColor = info.color;
    run.score += info.points;
    CountGrade(run, grade);
    if (info.keepsChain)
        run.combo += 1;
    else
        run.EndChain();
    hitErrors.Judged(&lane.notes == &GetPlaySession().redNotes ? 0 : 1, lane.notes.size(),
                     lane.keys[note.direction], grade);
    lane.notes.erase(lane.notes.begin());
    lane.timer = kDisplayUpdates;
}

// Moves every note of the lane one update towards (and past) the line.
void Game::MoveNotes(Lane lane) {
    float unit = WindowUnit(bpm);
    for (NoteRecord& note : lane.notes) note.distance -= unit;
}

// Removes the lane's first note as missed once it has passed the miss bound.
void Game::CheckMiss(Lane lane) {
    if (lane.notes.empty()) return;
    if (!IsMissed(lane.notes.front().distance, WindowUnit(GetPlaySession().BPM), gapUnits)) return;
    lane.judgement = L"Miss";
    lane.textColor = kMissColor;
    GetRunScore().EndChain();
    ++GetRunScore().miss;
    lane.notes.erase(lane.notes.begin());
    lane.timer = kDisplayUpdates;
}

// Sets the bonus and the ticker message: clear, full combo or all Perfect.
void Game::ComputeResult() {
    RunScore& run = GetRunScore();
    if (run.combo > run.maxCombo) run.maxCombo = run.combo;
    const PlaySession& session = GetPlaySession();
    bonus = 0;
    resultMessage = L"     Clear !";
    if (session.noteCount == run.maxCombo) {
        bonus += 10000;
        resultMessage = L"     Full Combo !!   Bonus +" + std::to_wstring(bonus);
    }
    if (static_cast<int64_t>(run.score) == int64_t{session.noteCount} * 500) {
        bonus += 40000;
        resultMessage = L"     ALL Perfect !!!   Bonus +" + std::to_wstring(bonus);
    }
}

// Shortens the message every 15 updates; when it is gone, adds the bonus, records the score
// (unless this run records nothing) and marks the result complete. Returns whether the ticker
// ran (the message was not empty).
bool Game::TickerStep() {
    if (resultMessage.empty()) return false;
    if (frameInSecond == 0 || frameInSecond == 15 || frameInSecond == 30 || frameInSecond == 45) {
        resultMessage.erase(0, 1);
        if (resultMessage.empty()) {
            RunScore& run = GetRunScore();
            run.score += bonus;
            if (recordsScore)
                RecordRun(GetMusicChoice().title, LevelIndex(GetMusicChoice().level), run.score,
                          bonus);
            run.complete = true;
        }
    }
    return true;
}
