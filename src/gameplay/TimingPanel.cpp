// TimingPanel: the summary texts, the histogram and the sync key of the result screen.
#include "gameplay/TimingPanel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "platform/Codepage.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/Timing.h"

namespace {

// The panel's column, right of the track (which ends at x 885).
constexpr float kLeft = 900, kRight = 1260;
// The histogram: bins 16 pixels apart from kBinsLeft, growing up from kBaseline.
constexpr float kBinsLeft = 912, kBinWidth = 16, kBaseline = 330, kTallest = 110;

// Draws text centred between left and right from top on, in white.
void WhiteText(const std::wstring& text, float top, float left = kLeft, float right = kRight) {
    DrawTextBlock(text, {left, top, right, top + 600}, {1, 1, 1, 1});
}

// Draws a label centred under a bin of the histogram.
void BinLabel(const std::wstring& text, int bin, float top) {
    const float middle = kBinsLeft + bin * kBinWidth + (kBinWidth - 2) / 2;
    WhiteText(text, top, middle - 60, middle + 60);
}

}  // namespace

void TimingPanel::Start(const std::wstring& title) {
    playedOffsetMs_ = SongOffsetMs(title);
    synced_ = false;
    saved_ = true;
}

int TimingPanel::SyncedOffset(double meanMs) const {
    const int ms = playedOffsetMs_ + int(std::lround(meanMs));
    return std::clamp(ms, -kMaxOffsetMs, kMaxOffsetMs);
}

void TimingPanel::Update(const HitErrors& errors, const std::wstring& title) {
    if (errors.errors().empty() || !KeyInput::Get().IsKeyPressed(kSyncKey)) return;
    std::string error;
    saved_ = SetSongOffset(title, SyncedOffset(errors.Summary().meanMs), &error);
    if (!saved_) std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
    synced_ = true;
}

void TimingPanel::DrawSprites(const HitErrors& errors) const {
    const HitSummary& s = errors.Summary();
    if (s.count == 0) return;
    const size_t most = *std::max_element(s.bins.begin(), s.bins.end());
    for (int bin = 0; bin < HitSummary::kBins; ++bin) {
        const int middle = HitSummary::kBins / 2;
        const ColorRgb tint = bin < middle   ? ColorRgb{70, 130, 180}
                              : bin > middle ? ColorRgb{255, 160, 122}
                                             : ColorRgb{255, 255, 0};
        const int height = int(std::lround(kTallest * double(s.bins[size_t(bin)]) / double(most)));
        const IntRect bar{0, 0, int(kBinWidth) - 2, std::max(height, 1)};
        SpriteRenderer::Get().DrawSprite({kBinsLeft + bin * kBinWidth, kBaseline - bar.bottom},
                                         &bar, height > 0 ? 255 : 90, 0, {0, 0}, tint.red,
                                         tint.green, tint.blue, 0, 1, WhiteTexture());
    }
}

void TimingPanel::DrawTexts(const HitErrors& errors, bool offersSync) const {
    const HitSummary& s = errors.Summary();
    if (s.count == 0) return;
    const std::wstring side = s.meanMs > 0 ? L" late" : s.meanMs < 0 ? L" early" : L"";
    WhiteText(L"Timing (" + std::to_wstring(s.count) + L" presses)\nmean " +
                  SignedMsText(s.meanMs) + side + L"\nspread " +
                  SignedMsText(s.spreadMs).substr(1) + L"\nearly " + std::to_wstring(s.early) +
                  L"   late " + std::to_wstring(s.late),
              110);
    const int last = HitSummary::kBins - 1;
    BinLabel(L"-100", 0, 334);
    BinLabel(L"0 ms", last / 2, 334);
    BinLabel(L"+100", last, 334);
    BinLabel(L"early", last / 4, 334);
    BinLabel(L"late", last - last / 4, 334);
    if (!offersSync) return;
    const int synced = SyncedOffset(s.meanMs);
    std::wstring sync =
        L"\"Z\" Key: song offset " + OffsetText(playedOffsetMs_) + L" to " + OffsetText(synced);
    if (synced_)
        sync = saved_ ? L"Song offset set to " + OffsetText(synced)
                      : L"Song offset " + OffsetText(synced) + L" (not saved)";
    WhiteText(sync, 370);
}
