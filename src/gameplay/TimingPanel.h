// TimingPanel: the result screen's account of the run's timing, right of the track where the
// result leaves the screen empty: the mean and spread of the errors, the early and late
// counts, a histogram of the errors in 10 ms bins, and the sync key: Z sets the song's own
// offset so that the run's mean error would have been 0 (the offset the song was played with,
// plus the mean, rounded to the millisecond). Z again gives the same offset. Shown only when
// the run measured a press.
// Depends on: gameplay/HitErrors.h, settings/Timing.h, services (KeyInput, SpriteRenderer,
// TextRenderer).
#pragma once

#include <string>

#include "gameplay/HitErrors.h"

// The sync key.
inline constexpr uint32_t kSyncKey = 'Z';

class TimingPanel {
  public:
    // At the start of a run of the song: the song's offset it is played with.
    void Start(const std::wstring& title);
    // Each update of the result screen: Z writes the song's new offset.
    void Update(const HitErrors& errors, const std::wstring& title);
    // The histogram's bars, and the panel's texts (the sync key's line only with offersSync:
    // a watched replay's errors are not the player's).
    void DrawSprites(const HitErrors& errors) const;
    void DrawTexts(const HitErrors& errors, bool offersSync = true) const;

    // The offset Z gives the song after a run with this mean error.
    int SyncedOffset(double meanMs) const;

  private:
    int playedOffsetMs_ = 0;
    bool synced_ = false;  // Z has set the offset
    bool saved_ = true;
};
