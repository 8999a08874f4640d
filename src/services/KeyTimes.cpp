// KeyTimes: the key-downs of each update with their times into the update's slot.
#include "services/KeyTimes.h"

#include "platform/Messages.h"

namespace {

// Milliseconds from a clock value to a stamp, across the clock's 32-bit wrap.
double MsFrom(uint32_t fromMs, int64_t stamp) {
    const uint32_t stampMs = static_cast<uint32_t>(stamp / 1000);
    const int32_t wholeMs = static_cast<int32_t>(stampMs - fromMs);
    return wholeMs + static_cast<double>(stamp % 1000) / 1000.0;
}

// The code the frame loop records a key under: a left or right modifier's generic code.
uint32_t RecordedCode(uint32_t key) {
    if (key == 0xA0 || key == 0xA1) return 0x10;
    if (key == 0xA2 || key == 0xA3) return 0x11;
    if (key == 0xA4 || key == 0xA5) return 0x12;
    return key;
}

}  // namespace

KeyTimes& KeyTimes::Get() {
    static KeyTimes times;
    return times;
}

void KeyTimes::KeyDown(uint64_t key, int64_t stamp) {
    if (key > 254) return;  // the keyboard ignores such codes too
    pending_.push_back({static_cast<uint32_t>(key), stamp});
}

void KeyTimes::KeyDownInto(uint32_t key, double ms) {
    if (key > 254) return;
    pending_.push_back({RecordedCode(key), platform::kNoStamp, ms});
}

void KeyTimes::Update() {
    downs_.clear();
    for (const Pending& p : pending_) {
        const bool known = p.stamp != platform::kNoStamp && p.stamp >= 0;
        const double ms = p.ms >= 0 ? p.ms : known ? MsFrom(slotStartMs_, p.stamp) : 0.0;
        downs_.push_back({p.key, ms});
    }
    pending_.clear();
}

double KeyTimes::MsIntoUpdate(uint32_t key) const { return DownIn(key).value_or(0.0); }

std::optional<double> KeyTimes::DownIn(uint32_t key) const {
    const uint32_t code = RecordedCode(key);
    for (auto it = downs_.rbegin(); it != downs_.rend(); ++it)
        if (it->key == code) return it->ms;
    return std::nullopt;
}

void KeyTimes::Reset() {
    pending_.clear();
    downs_.clear();
    slotStartMs_ = 0;
    frameMs_ = 0;
}
