// TextEngine: lays out and rasterises strings for the text pass: one font (a family list at a
// size in pixels), lines centred in a box of a given width, word-wrapped with a character
// fall-back, line feeds kept, top aligned.
// Implementation: Pango + Cairo with fontconfig (platform/text).
// Depends on: nothing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace platform {

// One laid-out line, in pixels from the box's top-left corner; baseline is its y too.
struct TextLine {
    float x = 0, y = 0, width = 0, height = 0;
    float baseline = 0;
};

struct TextLayoutInfo {
    std::vector<TextLine> lines;
};

// A rasterised string: premultiplied white coverage, BGRA bytes, rows top first, placed at
// (x, y) pixels from the box's top-left corner. Empty when nothing is visible.
struct TextBitmap {
    int x = 0, y = 0, width = 0, height = 0;
    std::vector<uint8_t> bgra;
};

class TextEngine {
  public:
    virtual ~TextEngine() = default;
    // Chooses the font: comma-separated families and an absolute size in pixels.
    virtual bool SetFont(const std::string& families, float pixelSize, std::string* error) = 0;
    // Fixes the distance between baselines and the first baseline's depth below the box's top,
    // in pixels, whatever font serves; 0 keeps the font's own metrics.
    virtual void SetLineMetrics(float advance, float firstBaseline) = 0;
    // Makes a font file available to this process; false with error on failure.
    virtual bool AddFontFile(const std::string& path, std::string* error) = 0;
    // Forgets every font file added by AddFontFile.
    virtual void RemoveFontFiles() = 0;
    // The lines of utf8 laid out in a box width pixels wide (no wrapping when width <= 0).
    virtual TextLayoutInfo Measure(const std::string& utf8, float width) = 0;
    // utf8 laid out as Measure does, rasterised.
    virtual TextBitmap Render(const std::string& utf8, float width) = 0;
};

// The Pango text engine.
std::unique_ptr<TextEngine> CreatePangoTextEngine();

}  // namespace platform
