// ReplayShortcut: the best replay found, checked and handed over, or a notice.
#include "selection/ReplayShortcut.h"

#include <cstdio>
#include <memory>

#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "platform/Codepage.h"
#include "replay/ChartIdentity.h"
#include "replay/ReplayShelf.h"
#include "replay/WatchReplay.h"
#include "services/KeyInput.h"
#include "services/TextRenderer.h"
#include "settings/PlayerProfile.h"

namespace {

constexpr uint32_t kWatchKey = 'V';
// Updates a notice stays: two seconds.
constexpr int32_t kNoticeUpdates = 125;

// Who is playing: the signed-in account, else the guest (empty).
std::wstring Player() {
    const PlayerProfile& profile = GetPlayerProfile();
    return profile.state == AccountState::kSignedIn ? profile.name : L"";
}

}  // namespace

Scene* ReplayShortcut::Update(const std::wstring& title, int32_t level) {
    if (noticeLeft_ > 0) --noticeLeft_;
    if (!KeyInput::Get().IsKeyPressed(kWatchKey)) return nullptr;
    ChartIdentity chart;
    std::string error;
    auto best = std::make_shared<Replay>();
    if (!IdentifyChart(title, level + 1, &chart, &error) ||
        !FindBestReplay(Player(), title, level + 1, chart.chartDigest, best.get())) {
        notice_ = L"No replay of this level yet";
        noticeLeft_ = kNoticeUpdates;
        return nullptr;
    }
    std::unique_ptr<Game> watch = WatchReplay(best, &error, &chart);
    if (!watch) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        notice_ = L"This replay cannot be played";
        noticeLeft_ = kNoticeUpdates;
        return nullptr;
    }
    SoundManager::Get().PlayMusic(L"", 0.0f);
    return watch.release();
}

void ReplayShortcut::DrawTexts() const {
    if (noticeLeft_ <= 0) return;
    DrawTextBlock(notice_, {340, 620, 940, 1220}, {1, 0.5f, 0.5f, 1});
}
