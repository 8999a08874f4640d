// DirectX::Keyboard and KeyState, KeyEdgeTracker: the live set of keys that are down, fed by
// the window procedure's messages, and the per-frame pressed and released sets.
// Depends on: platform/Messages.h.
#pragma once

#include <cstdint>

namespace DirectX {

// 256 key bits, key k in word k / 32, bit k mod 32; codes of 255 and above are never set.
struct KeyState {
    uint32_t words[8] = {};
    // True when the key's bit is set; false for codes above 254.
    bool IsKeyDown(uint32_t key) const;
    // Sets or clears the key's bit; codes of 255 and above change nothing.
    void Set(uint32_t key, bool down);
};

class Keyboard {
  public:
    // Registers the one instance; throws std::exception "Keyboard is a singleton" otherwise.
    Keyboard();
    ~Keyboard();
    Keyboard(const Keyboard&) = delete;
    Keyboard& operator=(const Keyboard&) = delete;

    // Applies one window message to the live set of the existing keyboard, if any.
    static void HandleMessage(uint32_t message, uint64_t wParam, int64_t lParam);
    // A copy of the live set.
    KeyState GetState() const;

  private:
    KeyState live_;
};

class KeyEdgeTracker {
  public:
    KeyState released;
    KeyState pressed;
    KeyState lastState;
    // Derives pressed and released from state against lastState, then keeps state.
    void Update(const KeyState& state);
    // Clears all three sets.
    void Reset();
    // The key's bit in pressed; false for codes above 254.
    bool IsKeyPressed(uint32_t key) const { return pressed.IsKeyDown(key); }
    // The key's bit in released; false for codes above 254.
    bool IsKeyReleased(uint32_t key) const { return released.IsKeyDown(key); }
};

}  // namespace DirectX
