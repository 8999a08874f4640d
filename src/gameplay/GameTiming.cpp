// GameTiming: what the Game scene shows of the run's timing: the hit-error bars under the hit
// markers while it plays (unless switched off), the timing panel on its result screen.
// Depends on: gameplay/HitErrorBar.h, gameplay/TimingPanel.h, settings (Config, Timing).
#include "gameplay/Game.h"
#include "gameplay/HitErrorBar.h"
#include "gameplay/Judgement.h"
#include "gameplay/PlaySession.h"
#include "settings/Config.h"
#include "settings/Timing.h"

void Game::DrawTimingSprites() {
    if (resultShown) {
        timingPanel.DrawSprites(hitErrors);
    } else if (GetTiming().choices.errorBar) {
        DrawHitErrorBars(hitErrors.errors(), WindowUnit(GetPlaySession().BPM), gapUnits,
                         GetConfig().HitLine);
    }
}

void Game::DrawTimingTexts() {
    if (resultShown) timingPanel.DrawTexts(hitErrors, !watching);
}
