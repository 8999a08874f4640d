// Jacket: the song's 256x256 cover in the texture folder: the source's jacket, background or
// banner (PNG or JPEG), scaled and cropped to a square; without a usable picture, one drawn
// here: a colour ground chosen by the title, with the title written on it.
// Depends on: platform/CoverImage.h, platform/ImageCodec.h, platform/TextEngine.h.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "platform/Gpu.h"
#include "platform/TextEngine.h"

namespace importer {

// Side of a jacket in pixels.
inline constexpr int kJacketSize = 256;

class JacketMaker {
  public:
    JacketMaker();
    ~JacketMaker();
    // Writes the jacket PNG to path from the first of pictures (paths) that reads as a cover,
    // else a drawn one; usedPicture tells which picture it was (empty when drawn). False with
    // the reason in error when the file cannot be written.
    bool Write(const std::vector<std::string>& pictures, const std::wstring& title,
               const std::string& path, std::string* usedPicture, std::string& error);
    // The drawn jacket of a title.
    platform::Image Drawn(const std::wstring& title);

  private:
    std::unique_ptr<platform::TextEngine> text_;  // made on the first drawn jacket
    bool textTried_ = false;
    // Writes the title centred over the image.
    void WriteTitle(const std::wstring& title, platform::Image& image);
};

}  // namespace importer
