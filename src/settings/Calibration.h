// Calibration: the screen that finds the player's audio offset. A click every 500 ms (listen)
// or a flash (watch); the player presses Space on the beat 16 times. Each press's error from
// its nearest beat shows as a dot (early left, late right); presses more than 150 ms off are
// set aside; the median and spread of the others follow. The clicks sound with the offset in
// force (the global one and the device latency), placed to the sample between updates, so a
// player whose offset is right presses on 0 and the median is what it is still off: listening,
// Space takes the offset plus the median as the new global offset and Backspace keeps the old
// one; watching measures the eye and the display, shown for information only. Press times are
// the key events' own, finer than an update. Also switches the hit-error bar and whether the
// device latency is added. Reached from the configuration screen's last item; Backspace on
// its first page goes back there.
// Depends on: shell/Scene.h, settings (CalibrationMath, Timing, ConfigS), services,
// audio/SoundManager.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/CalibrationMath.h"
#include "shell/Scene.h"

class Calibration : public Scene {
  public:
    enum class Mode { kListen, kWatch };
    enum class Phase { kIntro, kRunning, kDone };

    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;

    Phase phase() const { return phase_; }
    Mode mode() const { return mode_; }
    // The errors of the presses of the current or last run, in ms.
    const std::vector<double>& errors() const { return errors_; }
    const CalibrationResult& result() const { return result_; }
    // The global offset Space would take after a listening run (valid when it offers one).
    int OfferedOffsetMs() const;
    // True when the finished run offers a new global offset.
    bool Offers() const;

  private:
    // The first page: choose, switch, start or leave.
    Scene* UpdateIntro();
    // The run: clicks or flashes on time, presses taken.
    void UpdateRunning();
    // The result: take or keep.
    void UpdateDone();
    // Starts the clicks due in this update, each placed to the sample.
    void PlayDueClicks();
    // Ends the run and sums it up.
    void Finish();
    // Prints a write failure and keeps it for the screen.
    void Report(bool written, const std::string& error);

    Mode mode_ = Mode::kListen;
    Phase phase_ = Phase::kIntro;
    std::vector<double> beats_;   // the beats of a run, in ms from its start
    int64_t runUpdates_ = 0;      // updates since the run started
    double leadMs_ = 0;           // how much earlier than its beat a click sounds
    size_t nextClick_ = 0;        // the next beat whose click is to start
    int64_t flashUpdate_ = -100;  // the update of the last flash
    std::vector<double> errors_;
    CalibrationResult result_;
    std::wstring lastWatch_;  // the last watching run's result, for information
    std::wstring note_;       // a line about the last action
};
