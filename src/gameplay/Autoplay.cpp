// Autoplay: the press rule over the loaded chart's first notes and the key messages it sends.
// Depends on: gameplay/Autoplay.h, gameplay/PlaySession.h, gameplay/Judgement.h,
// settings/Config.h, settings/KeyBindings.h, media/Keyboard.h, platform/Messages.h.
#include "gameplay/Autoplay.h"

#include <algorithm>
#include <cmath>

#include "gameplay/Judgement.h"
#include "gameplay/PlaySession.h"
#include "media/Keyboard.h"
#include "platform/Messages.h"
#include "settings/Config.h"
#include "settings/KeyBindings.h"

namespace {

// The Game scene's timeline: the first update that can judge a note, the last update in which
// notes move (692 + 60 S) and the update that computes the result (812 + 60 S).
constexpr int64_t kFirstJudgement = 334;
int64_t LastMotion(int32_t second) { return 692 + 60 * int64_t{second}; }
int64_t ResultUpdate(int32_t second) { return 812 + 60 * int64_t{second}; }

// True when key is in keys.
bool Holds(const std::vector<uint32_t>& keys, uint32_t key) {
    return std::find(keys.begin(), keys.end(), key) != keys.end();
}

}  // namespace

Autoplay::Autoplay() : second_(GetPlaySession().Second) {}

void Autoplay::BeforeUpdate() {
    ++update_;
    justReleased_ = down_;
    for (uint32_t key : down_) DirectX::Keyboard::HandleMessage(platform::kMsgKeyUp, key, 0);
    down_.clear();
    // From the result on, a press could only change the score the result has shown.
    if (update_ < kFirstJudgement || update_ >= ResultUpdate(second_)) return;
    // The keys the Game scene reads: those the player bound.
    PlayLane(GetPlaySession().redNotes, GetKeyBindings().red());
    PlayLane(GetPlaySession().blueNotes, GetKeyBindings().blue());
}

// The note is pressed when the motion of this update would take it further from the line
// than it is now, or when the notes no longer move; never out of reach.
void Autoplay::PlayLane(const std::vector<NoteRecord>& notes, const uint32_t keys[4]) {
    if (notes.empty()) return;
    const NoteRecord& note = notes.front();
    if (note.direction < 0 || note.direction > 3) return;
    const PlaySession& session = GetPlaySession();
    const float unit = WindowUnit(session.BPM);
    const float gap = GetConfig().HitGap / 1350.0f;
    if (!InReach(note.distance, unit, gap)) return;
    const bool moves = update_ <= LastMotion(second_) && session.Second + 5 > 0;
    const float next = moves ? note.distance - unit : note.distance;
    if (std::fabs(note.distance) > std::fabs(next)) return;
    const uint32_t key = keys[note.direction];
    if (Holds(justReleased_, key)) return;  // up for this update; pressed in the next
    DirectX::Keyboard::HandleMessage(platform::kMsgKeyDown, key, 0);
    down_.push_back(key);
}
