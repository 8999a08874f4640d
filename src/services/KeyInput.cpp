// KeyInput: per-frame copy of the live keyboard and the typed character of the frame.
#include "services/KeyInput.h"

KeyInput& KeyInput::Get() {
    static KeyInput input;
    return input;
}

void KeyInput::Update() {
    if (feed) feed->BeforeRead();
    state = keyboard ? keyboard->GetState() : DirectX::KeyState{};
    tracker.Update(state);
}

std::wstring KeyInput::GetTypedChar() const {
    std::wstring result;
    for (uint32_t code = 0x30; code <= 0x5A; ++code)
        if (tracker.IsKeyPressed(code)) result = std::wstring(1, static_cast<wchar_t>(code));
    return result;
}
