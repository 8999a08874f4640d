// TextRenderer: the game's one text format and brush: centred, top-aligned, word-wrapped text
// in a layout rectangle, drawn over the sprites.
// Depends on: platform text interface (platform/TextEngine.h).
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace platform {
class TextEngine;
}

// A colour as four floats 0 to 1.
struct Color4 {
    float r = 0, g = 0, b = 0, a = 1;
};

// Left, top, right, bottom in back-buffer pixels.
struct LayoutRect {
    float left = 0, top = 0, right = 0, bottom = 0;
};

// The one brush; its colour stays as set across strings, scenes and frames.
struct Brush {
    Color4 color;
    // Changes the brush colour for the next strings.
    void SetColor(const Color4& c) { color = c; }
};

// One DrawString call as drawn, kept for tests that watch what a scene writes.
struct TextCall {
    std::wstring text;
    LayoutRect rect;
    Color4 color;
};

class TextRenderer {
public:
    // The single renderer, created on first use with no font added.
    static TextRenderer& Get();

    Brush brush;
    LayoutRect layoutRect;
    std::wstring fontPath;
    std::unique_ptr<platform::TextEngine> engine;
    // When set, every DrawString call is also handed here (scene tests).
    std::function<void(const TextCall&)> observer;

    // Sets up the font family, an optional private font file and the size in pixels.
    bool Initialize(const std::wstring& family, const std::wstring& fontFile, float size);
    // Draws text in layoutRect with the brush colour.
    void DrawString(std::wstring text);
    // Removes the private font added by Initialize (shutdown).
    void RemoveFont();
};
