// KeyInput: this frame's copy of the keyboard and the edge tracker the scenes ask, and the feed
// of a replay being watched.
// Depends on: media/Keyboard.h.
#pragma once

#include <memory>
#include <string>

#include "media/Keyboard.h"

// Key messages that must reach the keyboard just before a frame copies it (a replay being
// watched presses its keys there, through the keyboard, as a player's keys would arrive).
class KeyFeed {
  public:
    virtual ~KeyFeed() = default;
    // Sends this frame's messages to the keyboard.
    virtual void BeforeRead() = 0;
};

class KeyInput {
  public:
    // The single input record, created on first use with the tracker reset.
    static KeyInput& Get();

    std::unique_ptr<DirectX::Keyboard> keyboard;
    DirectX::KeyEdgeTracker tracker;
    DirectX::KeyState state;
    // When set, fed before each copy; its owner clears it.
    KeyFeed* feed = nullptr;

    // Copies the live set and advances the tracker (once per frame).
    void Update();
    // True when key went down this frame.
    bool IsKeyPressed(uint32_t key) const { return tracker.IsKeyPressed(key); }
    // The letter or digit (0x30 to 0x5A) pressed this frame, highest code first; else empty.
    std::wstring GetTypedChar() const;
};
