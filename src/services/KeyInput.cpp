// KeyInput: per-frame copy of the live keyboard, the typed character of the frame and the text
// channel.
#include "services/KeyInput.h"

KeyInput& KeyInput::Get() {
    static KeyInput input;
    return input;
}

void KeyInput::Update() {
    if (feed) feed->BeforeRead();
    state = keyboard ? keyboard->GetState() : DirectX::KeyState{};
    tracker.Update(state);
    typedText = std::move(pendingText);
    pendingText.clear();
}

void KeyInput::AddTypedChar(uint64_t codePoint) {
    if (codePoint < 0x20 || codePoint == 0x7F || codePoint > 0x10FFFF) return;
    if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return;  // half of a pair is no character
    pendingText += static_cast<wchar_t>(codePoint);
}

std::wstring KeyInput::GetTypedChar() const {
    std::wstring result;
    for (uint32_t code = 0x30; code <= 0x5A; ++code)
        if (tracker.IsKeyPressed(code)) result = std::wstring(1, static_cast<wchar_t>(code));
    return result;
}
