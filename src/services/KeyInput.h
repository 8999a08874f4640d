// KeyInput: this frame's copy of the keyboard and the edge tracker the scenes ask, the text typed
// this frame, the files dropped on the window, and the feed of a replay being watched.
// Depends on: media/Keyboard.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

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

    // The text channel beside the keys: characters typed (any script, as the window's text
    // input gives them) since the previous frame collect in pendingText; Update moves them to
    // typedText, this frame's characters.
    std::wstring pendingText;
    std::wstring typedText;
    // Adds one typed character; control characters and code points beyond Unicode are dropped.
    void AddTypedChar(uint64_t codePoint);
    // Paths of files dropped on the window, kept until a scene takes them.
    std::vector<std::string> droppedPaths;
    // True when an import of dropped files finishes before the next frame (the headless mode's
    // simulated clock), so runs stay the same from one time to the next.
    bool dropsSettleAtOnce = false;
};
