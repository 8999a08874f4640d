// TextRenderer: the game's one text format and brush: centred, top-aligned, word-wrapped text
// in a layout rectangle, drawn over the sprites. Rasterised layouts are cached as textures, so
// a string drawn again unchanged costs no new layout.
// Depends on: platform text interface (platform/TextEngine.h), media/SpriteBatch (the pass),
// services/GraphicsDevice.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <unordered_map>

namespace platform {
class TextEngine;
struct Texture;
}  // namespace platform
namespace DirectX {
class SpriteBatch;
class CommonStates;
}  // namespace DirectX

// A colour as four floats 0 to 1.
struct Color4 {
    float r = 0, g = 0, b = 0, a = 1;
    bool operator==(const Color4&) const = default;
};

// Left, top, right, bottom in back-buffer pixels.
struct LayoutRect {
    float left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const LayoutRect&) const = default;
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
    bool operator==(const TextCall&) const = default;
};

struct FrameRecord;

class TextRenderer {
  public:
    TextRenderer();
    ~TextRenderer();
    // The single renderer, created on first use with no font added.
    static TextRenderer& Get();

    Brush brush;
    LayoutRect layoutRect;
    std::wstring fontPath;
    std::unique_ptr<platform::TextEngine> engine;
    // When set, every DrawString call is also handed here (scene tests).
    std::function<void(const TextCall&)> observer;
    // When set, strings are written down here instead of drawn; Draw draws them later.
    FrameRecord* record = nullptr;

    // Sets up the font family, an optional private font file and the size in pixels.
    bool Initialize(const std::wstring& family, const std::wstring& fontFile, float size);
    // Draws text in layoutRect with the brush colour (within the text pass).
    void DrawString(std::wstring text);
    // Removes the private font added by Initialize (shutdown).
    void RemoveFont();

    // Opens and closes the text pass (GraphicsDevice BeginDraw and EndDraw).
    void BeginPass();
    void EndPass();
    // Draws the strings of a written-down frame as one text pass.
    void Draw(const FrameRecord& frame);
    // Drops the batch and cached textures made over the current GPU (before it goes).
    void ReleaseDeviceResources();
    // Layouts rasterised since start-up (cache misses), and cached layouts now held.
    size_t LayoutsMade() const { return layoutsMade_; }
    size_t CachedLayouts() const { return cache_.size(); }

  private:
    // One rasterised layout and when it was last drawn.
    struct CachedText {
        std::shared_ptr<platform::Texture> texture;
        int x = 0, y = 0;
        uint64_t lastPass = 0;
    };
    const CachedText* Demand(const std::wstring& text, float width);
    void Evict();
    // Draws one string within the pass.
    void Submit(const std::wstring& text, const LayoutRect& rect, const Color4& color);

    std::unique_ptr<DirectX::SpriteBatch> batch_;
    std::unique_ptr<DirectX::CommonStates> states_;
    std::unordered_map<std::wstring, CachedText> cache_;
    bool inPass_ = false;
    uint64_t pass_ = 0;
    size_t layoutsMade_ = 0;
};

// One block of a screen: sets the renderer's rectangle and brush colour, then draws text.
void DrawTextBlock(const std::wstring& text, LayoutRect rect, const Color4& color);
