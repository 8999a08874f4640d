// Jacket: covers from pictures through CoverImage; drawn covers are a diagonal two-colour
// ground with the title laid out by the text engine in white.
#include "import/Jacket.h"

#include <algorithm>
#include <cmath>
#include <functional>

#include "platform/Codepage.h"
#include "platform/CoverImage.h"
#include "platform/ImageCodec.h"

namespace importer {

namespace {

// The jacket's title font: the game's Japanese font, so every title it can list is drawn.
constexpr const char* kFamilies = "IPAexGothic,sans-serif";
constexpr float kTitlePixels = 26.f;
constexpr int kMargin = 18;

// An RGB colour from a hue (0..1) at fixed saturation and value.
void HueColour(double hue, double value, uint8_t rgb[3]) {
    const double h = (hue - std::floor(hue)) * 6.0, s = 0.55;
    const double c = value * s, x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1)), m = value - c;
    double r = 0, g = 0, b = 0;
    if (h < 1)
        r = c, g = x;
    else if (h < 2)
        r = x, g = c;
    else if (h < 3)
        g = c, b = x;
    else if (h < 4)
        g = x, b = c;
    else if (h < 5)
        r = x, b = c;
    else
        r = c, b = x;
    rgb[0] = static_cast<uint8_t>((r + m) * 255);
    rgb[1] = static_cast<uint8_t>((g + m) * 255);
    rgb[2] = static_cast<uint8_t>((b + m) * 255);
}

}  // namespace

JacketMaker::JacketMaker() = default;
JacketMaker::~JacketMaker() = default;

platform::Image JacketMaker::Drawn(const std::wstring& title) {
    const double hue = static_cast<double>(std::hash<std::wstring>{}(title) % 360) / 360.0;
    uint8_t from[3], to[3];
    HueColour(hue, 0.55, from);
    HueColour(hue + 0.12, 0.25, to);
    platform::Image image;
    image.width = image.height = kJacketSize;
    image.rgba.resize(static_cast<size_t>(kJacketSize) * kJacketSize * 4);
    for (int y = 0; y < kJacketSize; ++y)
        for (int x = 0; x < kJacketSize; ++x) {
            const double t = (x + y) / (2.0 * (kJacketSize - 1));
            uint8_t* p = &image.rgba[(static_cast<size_t>(y) * kJacketSize + x) * 4];
            for (int c = 0; c < 3; ++c)
                p[c] = static_cast<uint8_t>(from[c] + (to[c] - from[c]) * t);
            p[3] = 255;
        }
    WriteTitle(title, image);
    return image;
}

void JacketMaker::WriteTitle(const std::wstring& title, platform::Image& image) {
    if (!textTried_) {
        textTried_ = true;
        text_ = platform::CreatePangoTextEngine();
        std::string error;
        if (text_ && !text_->SetFont(kFamilies, kTitlePixels, &error)) text_.reset();
    }
    if (!text_) return;  // without a font the ground alone is still a jacket
    const float width = kJacketSize - 2 * kMargin;
    const platform::TextBitmap bitmap = text_->Render(platform::WideToUtf8(title), width);
    const int top = std::max(kMargin, (kJacketSize - bitmap.height) / 2 - bitmap.y);
    for (int y = 0; y < bitmap.height; ++y)
        for (int x = 0; x < bitmap.width; ++x) {
            const int px = kMargin + bitmap.x + x, py = top + bitmap.y + y;
            if (px < 0 || py < 0 || px >= kJacketSize || py >= kJacketSize - kMargin / 2) continue;
            const int a = bitmap.bgra[(static_cast<size_t>(y) * bitmap.width + x) * 4 + 3];
            uint8_t* p = &image.rgba[(static_cast<size_t>(py) * kJacketSize + px) * 4];
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>(p[c] + (255 - p[c]) * a / 255);
        }
}

bool JacketMaker::Write(const std::vector<std::string>& pictures, const std::wstring& title,
                        const std::string& path, std::string* usedPicture, std::string& error) {
    platform::Image image;
    usedPicture->clear();
    for (const std::string& picture : pictures) {
        std::string reason;
        if (platform::LoadCoverImage(picture, kJacketSize, &image, &reason)) {
            *usedPicture = picture;
            break;
        }
    }
    if (usedPicture->empty()) image = Drawn(title);
    return platform::WriteOpaquePng(path, image, &error);
}

}  // namespace importer
