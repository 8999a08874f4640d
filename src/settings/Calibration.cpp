// Calibration: the run's beats, clicks and flashes, the presses against them, the result and
// the switches, and what the screen shows.
#include "settings/Calibration.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cwchar>
#include <iostream>

#include "audio/SoundManager.h"
#include "gameplay/ColorRgb.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/ConfigS.h"
#include "settings/Timing.h"

namespace {

constexpr uint32_t kBackspace = 0x08;
constexpr uint32_t kSpace = 0x20;
// Presses asked for, the beat, the first beat after the start and the most beats of a run.
constexpr size_t kPresses = 16;
constexpr double kBeatMs = 500;
constexpr double kFirstBeatMs = 1000;
constexpr size_t kMostBeats = 40;
constexpr double kUpdateMs = 16;
// The click: the game's press sound, at its volume in play.
const wchar_t* const kClick = L"タンバリンの音.wav";
constexpr float kClickScale = 0.4f;
// Updates a flash stays, fading.
constexpr int64_t kFlashUpdates = 6;
// Fewer presses near the beat than this give no result.
constexpr size_t kFewestKept = 4;
// The dots' scale: 2 pixels a millisecond around x 640, at y 450.
constexpr float kDotsY = 450, kDotsX = 640, kPixelsPerMs = 2;

const Color4 kWhiteText{1, 1, 1, 1};
const Color4 kGreyText{136 / 255.0f, 136 / 255.0f, 136 / 255.0f, 1};

// True when the key went down this frame.
bool Pressed(uint32_t key) { return KeyInput::Get().IsKeyPressed(key); }

// A plain rectangle of the white texture, centred at (x, y).
void Box(float x, float y, int width, int height, ColorRgb tint, int alpha) {
    const IntRect source{0, 0, width, height};
    SpriteRenderer::Get().DrawSprite({x, y}, &source, alpha, 0, {width / 2.0f, height / 2.0f},
                                     tint.red, tint.green, tint.blue, 0, 1, WhiteTexture());
}

}  // namespace

bool Calibration::Initialize() {
    if (!TextureStore::Get().Load(L"HitArea", L"Hit.png")) {
        std::cerr << "lyrandel: Data/Texture/Hit.png: cannot be loaded\n";
        return false;
    }
    beats_.clear();
    for (size_t k = 0; k < kMostBeats; ++k) beats_.push_back(kFirstBeatMs + kBeatMs * double(k));
    phase_ = Phase::kIntro;
    mode_ = Mode::kListen;
    errors_.clear();
    return true;
}

Scene* Calibration::Update() {
    switch (phase_) {
        case Phase::kIntro:
            return UpdateIntro();
        case Phase::kRunning:
            UpdateRunning();
            return nullptr;
        case Phase::kDone:
            UpdateDone();
            return nullptr;
    }
    return nullptr;
}

Scene* Calibration::UpdateIntro() {
    if (Pressed('A')) mode_ = Mode::kListen;
    if (Pressed('D')) mode_ = Mode::kWatch;
    std::string error;
    if (Pressed('W')) Report(SetErrorBar(!GetTiming().choices.errorBar, &error), error);
    if (Pressed('S')) Report(SetDeviceLatency(!GetTiming().choices.deviceLatency, &error), error);
    if (Pressed(kBackspace)) {
        auto* back = new ConfigS;
        back->highlight = L"Calibration";
        return back;
    }
    if (!Pressed(kSpace)) return nullptr;
    // The clicks sound earlier by the offset in force, as the song of a run would.
    leadMs_ = mode_ == Mode::kListen ? GlobalOffsetMs() + AddedLatencyMs() : 0.0;
    runUpdates_ = 0;
    nextClick_ = 0;
    flashUpdate_ = -100;
    errors_.clear();
    note_.clear();
    phase_ = Phase::kRunning;
    return nullptr;
}

void Calibration::UpdateRunning() {
    ++runUpdates_;
    if (Pressed(kBackspace)) {  // the clicks stop coming
        phase_ = Phase::kIntro;
        return;
    }
    if (mode_ == Mode::kListen) PlayDueClicks();
    // A flash shows from the update nearest its beat.
    for (double beat : beats_)
        if (std::llround(beat / kUpdateMs) == runUpdates_) flashUpdate_ = runUpdates_;
    if (Pressed(kSpace)) {
        // The press came this far into the slot that began with the update before.
        const double at =
            double(runUpdates_ - 1) * kUpdateMs + KeyTimes::Get().MsIntoUpdate(kSpace);
        errors_.push_back(NearestBeatError(beats_, at));
    }
    if (errors_.size() >= kPresses || double(runUpdates_) * kUpdateMs > beats_.back() + kBeatMs)
        Finish();
}

// A sound started in an update plays from that update's moment, runUpdates_ * 16 ms into the
// run; the click of a beat starts in the update before it, after the silence that remains.
void Calibration::PlayDueClicks() {
    while (nextClick_ < beats_.size()) {
        const double at = beats_[nextClick_] - leadMs_;
        const int64_t update = int64_t(std::floor(at / kUpdateMs));
        if (update > runUpdates_) return;
        if (update == runUpdates_)
            SoundManager::Get().PlaySoundEffectAt(kClick, kClickScale,
                                                  -(at - double(update) * kUpdateMs));
        ++nextClick_;
    }
}

void Calibration::Finish() {
    result_ = SumUp(errors_);
    phase_ = Phase::kDone;
    if (mode_ == Mode::kWatch && result_.kept >= kFewestKept)
        lastWatch_ =
            L"Watching, the median was " + SignedMsText(result_.medianMs) + L" (for information)";
}

bool Calibration::Offers() const { return mode_ == Mode::kListen && result_.kept >= kFewestKept; }

int Calibration::OfferedOffsetMs() const {
    const int ms = GlobalOffsetMs() + int(std::lround(result_.medianMs));
    return std::clamp(ms, -kMaxOffsetMs, kMaxOffsetMs);
}

void Calibration::UpdateDone() {
    if (Pressed(kSpace)) {
        if (Offers()) {
            std::string error;
            const int taken = OfferedOffsetMs();
            Report(SetGlobalOffset(taken, &error), error);
            if (note_.empty()) note_ = L"The global offset is now " + OffsetText(taken);
        }
        phase_ = Phase::kIntro;
    } else if (Pressed(kBackspace)) {
        note_ = L"The global offset stays " + OffsetText(GlobalOffsetMs());
        phase_ = Phase::kIntro;
    }
}

void Calibration::Report(bool written, const std::string& error) {
    if (written) return;
    std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
    note_ = L"Not saved: " + std::wstring(error.begin(), error.end());
}

// The flash of a watching run, and the dots of the presses on their scale.
void Calibration::DrawSprites() {
    if (phase_ == Phase::kRunning && mode_ == Mode::kWatch) {
        const int64_t age = runUpdates_ - flashUpdate_;
        if (age >= 0 && age < kFlashUpdates) {
            const IntRect source{0, 0, 32, 32};
            SpriteRenderer::Get().DrawSprite({640, 300}, &source,
                                             int(255 - age * 255 / kFlashUpdates), 0, {16, 16}, 0,
                                             255, 255, 0, 4.0f, L"HitArea");
        }
    }
    if (phase_ == Phase::kIntro && errors_.empty()) return;
    const float reach = float(kCalibrationKeepMs) * kPixelsPerMs;
    Box(kDotsX, kDotsY, int(2 * reach), 1, kWhite, 120);
    Box(kDotsX, kDotsY, 1, 17, kWhite, 220);
    Box(kDotsX - reach, kDotsY, 1, 9, kWhite, 160);
    Box(kDotsX + reach, kDotsY, 1, 9, kWhite, 160);
    for (double e : errors_) {
        const bool kept = std::fabs(e) <= kCalibrationKeepMs;
        const float x = kDotsX + std::clamp(float(e) * kPixelsPerMs, -reach - 10, reach + 10);
        const ColorRgb tint = kept ? ColorRgb{255, 255, 0} : ColorRgb{128, 128, 128};
        Box(x, kDotsY, 5, 13, tint, kept ? 230 : 160);
    }
}

void Calibration::DrawTexts() {
    const Timing& timing = GetTiming();
    DrawTextBlock(L"Calibration", {540, 40, 740, 640}, kWhiteText);
    const std::wstring listen =
        L"Listen: a click every half second. Press Space on each click, 16 times "
        L"(closing your eyes helps). The result sets the global offset.";
    const std::wstring watch =
        L"Watch: a flash every half second. Press Space on each flash, 16 times. "
        L"For information: the offset follows the ear.";
    DrawTextBlock(mode_ == Mode::kListen ? listen : watch, {240, 90, 1040, 690}, kWhiteText);
    if (phase_ == Phase::kRunning) {
        DrawTextBlock(L"Press " + std::to_wstring(errors_.size()) + L" of 16\n\nBackspace: stop",
                      {440, 380, 840, 980}, kWhiteText);
    } else {
        std::wstring settings = L"Global offset " + OffsetText(timing.choices.globalOffsetMs);
        if (timing.runOffsetMs)
            settings += L" (this run: " + OffsetText(*timing.runOffsetMs) + L")";
        wchar_t latency[64];
        std::swprintf(latency, 64, L"%.1f ms", timing.deviceLatencyMs);
        settings += L"\nDevice latency " + std::wstring(latency) +
                    (timing.choices.deviceLatency ? L", added" : L", not added") +
                    L"\nHit-error bar in play: " + (timing.choices.errorBar ? L"on" : L"off");
        DrawTextBlock(settings, {240, 170, 1040, 770}, kWhiteText);
    }
    if (!errors_.empty()) {
        const float reach = float(kCalibrationKeepMs) * kPixelsPerMs;
        DrawTextBlock(L"early", {kDotsX - reach - 60, 465, kDotsX - reach + 60, 1065}, kGreyText);
        DrawTextBlock(L"0", {kDotsX - 60, 465, kDotsX + 60, 1065}, kGreyText);
        DrawTextBlock(L"late", {kDotsX + reach - 60, 465, kDotsX + reach + 60, 1065}, kGreyText);
    }
    if (phase_ == Phase::kDone) {
        std::wstring summary = L"Median " + SignedMsText(result_.medianMs) + L", spread " +
                               SignedMsText(result_.spreadMs).substr(1) + L" (" +
                               std::to_wstring(result_.kept) + L" presses, " +
                               std::to_wstring(result_.discarded) + L" set aside)";
        if (result_.kept < kFewestKept)
            summary = L"Too few presses near the beat to tell: try again";
        else if (Offers())
            summary += L"\nSpace: take " + OffsetText(OfferedOffsetMs()) +
                       L" as the global offset    Backspace: keep " + OffsetText(GlobalOffsetMs());
        else
            summary += L"\nSpace or Backspace: back";
        DrawTextBlock(summary, {240, 500, 1040, 1100}, kWhiteText);
    } else if (phase_ == Phase::kIntro) {
        std::wstring last = note_;
        if (!lastWatch_.empty()) last += (last.empty() ? L"" : L"\n") + lastWatch_;
        if (!last.empty()) DrawTextBlock(last, {240, 500, 1040, 1100}, kWhiteText);
        DrawTextBlock(
            L"A: listen   D: watch   W: hit-error bar   S: device latency\n"
            L"Space: start   Backspace: back to the configuration",
            {240, 610, 1040, 1210}, kGreyText);
    }
}
