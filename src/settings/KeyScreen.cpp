// KeyScreen: one slot at a time, the refusals, and the lanes drawn around their markers.
#include "settings/KeyScreen.h"

#include <cstdio>

#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "settings/KeyBindingsFile.h"

namespace {

constexpr uint32_t kBackspace = 0x08;
// Centres of the two lanes' markers on this screen.
constexpr float kLaneX[2] = {420.0f, 800.0f};
constexpr float kMarkerY = 560.0f;
constexpr Color4 kWhite{1, 1, 1, 1};
constexpr Color4 kAsked{1, 1, 0, 1};
constexpr Color4 kRefused{1, 0.5f, 0.5f, 1};

// Where a direction's key is written around a marker at (x, y): Up, Right, Down, Left.
LayoutRect KeyPlace(int direction, float x, float y) {
    switch (direction) {
        case 0:
            return {x - 40, y - 50, x + 40, y - 18};
        case 1:
            return {x + 20, y - 10, x + 100, y + 30};
        case 2:
            return {x - 40, y + 23, x + 40, y + 55};
        default:
            return {x - 100, y - 10, x - 20, y + 30};
    }
}

// The lowest key code that went down this frame, or 0.
uint32_t PressedKey() {
    const KeyInput& input = KeyInput::Get();
    for (uint32_t code = 1; code <= 254; ++code)
        if (input.IsKeyPressed(code)) return code;
    return 0;
}

}  // namespace

void KeyScreen::Open() {
    keys_ = GetKeyBindings().lanes;
    slot_ = 0;
    message_.clear();
}

bool KeyScreen::Update() {
    const uint32_t code = PressedKey();
    if (code == 0) return true;
    if (code == kBackspace) return Advance();
    const std::wstring refusal = BindingRefusal(keys_, slot_, code);
    if (!refusal.empty()) {
        message_ = refusal;
        return true;
    }
    keys_[slot_] = code;
    return Advance();
}

bool KeyScreen::Advance() {
    message_.clear();
    if (++slot_ < kLaneSlots) return true;
    if (GetKeyBindings().lanes == keys_) return false;
    GetKeyBindings().lanes = keys_;
    // The keys stay in force for this run either way.
    std::string error;
    if (!SaveKeyBindings(&error))
        std::fprintf(stderr, "lyrandel: %s not written: %s\n", kKeyBindingsFile, error.c_str());
    return false;
}

void KeyScreen::DrawSprites() const {
    const IntRect source{0, 0, 32, 32};
    for (float x : kLaneX)
        SpriteRenderer::Get().DrawSprite({x, kMarkerY}, &source, 255, 0, {16, 16}, 255, 255, 255, 0,
                                         1.0f, L"HitArea");
}

void KeyScreen::DrawTexts() const {
    DrawTextBlock(
        SlotName(slot_) + L"\nPress its key  (Backspace keeps " + KeyName(keys_[slot_]) + L")",
        {340, 150, 940, 750}, kWhite);
    if (!message_.empty()) DrawTextBlock(message_, {340, 210, 940, 810}, kRefused);
    for (int slot = 0; slot < kLaneSlots; ++slot) {
        const float x = kLaneX[slot / 4];
        DrawTextBlock(KeyName(keys_[slot]), KeyPlace(slot % 4, x, kMarkerY),
                      slot == slot_ ? kAsked : kWhite);
    }
    DrawTextBlock(L"Red", {kLaneX[0] - 60, kMarkerY + 70, kLaneX[0] + 60, kMarkerY + 670}, kWhite);
    DrawTextBlock(L"Blue", {kLaneX[1] - 60, kMarkerY + 70, kLaneX[1] + 60, kMarkerY + 670}, kWhite);
}
