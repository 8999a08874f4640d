// TextEngine: lays out and rasterises strings for the text pass.
// Implementation: Pango + Cairo (platform/text).
// Depends on: nothing.
#pragma once

namespace platform {

class TextEngine {
public:
    virtual ~TextEngine() = default;
};

}  // namespace platform
