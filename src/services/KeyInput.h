// KeyInput: this frame's copy of the keyboard and the edge tracker the scenes ask.
// Depends on: media/Keyboard.h.
#pragma once

#include <memory>
#include <string>

#include "media/Keyboard.h"

class KeyInput {
  public:
    // The single input record, created on first use with the tracker reset.
    static KeyInput& Get();

    std::unique_ptr<DirectX::Keyboard> keyboard;
    DirectX::KeyEdgeTracker tracker;
    DirectX::KeyState state;

    // Copies the live set and advances the tracker (once per frame).
    void Update();
    // True when key went down this frame.
    bool IsKeyPressed(uint32_t key) const { return tracker.IsKeyPressed(key); }
    // The letter or digit (0x30 to 0x5A) pressed this frame, highest code first; else empty.
    std::wstring GetTypedChar() const;
};
