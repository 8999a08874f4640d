// DirectX image loader: decode, fit to the device's limit, upload with mipmaps.
// Depends on: media/ImageLoader.h, platform/ImageCodec.h.
#include "media/ImageLoader.h"

#include <algorithm>

#include "platform/ImageCodec.h"

namespace DirectX {

using platform::Image;

int MaxTextureSide(const platform::Gpu* gpu) {
    constexpr int kCap = 16384;
    return gpu ? std::min(gpu->MaxTextureSize(), kCap) : kCap;
}

namespace {

// Averages the source block [x0, x1) x [y0, y1), weighting colour by alpha so that
// transparent texels do not darken the edges.
void AverageBlock(const Image& in, int x0, int x1, int y0, int y1, uint8_t* out) {
    uint64_t sum[4] = {};
    for (int y = y0; y < y1; ++y) {
        const uint8_t* p = &in.rgba[(size_t(y) * in.width + x0) * 4];
        for (int x = x0; x < x1; ++x, p += 4) {
            sum[0] += uint64_t(p[0]) * p[3];
            sum[1] += uint64_t(p[1]) * p[3];
            sum[2] += uint64_t(p[2]) * p[3];
            sum[3] += p[3];
        }
    }
    uint64_t n = uint64_t(x1 - x0) * (y1 - y0);
    for (int c = 0; c < 3; ++c) out[c] = sum[3] ? uint8_t((sum[c] + sum[3] / 2) / sum[3]) : 0;
    out[3] = uint8_t((sum[3] + n / 2) / n);
}

}  // namespace

Image FitImage(const Image& image, int maxSide) {
    if (image.width <= maxSide && image.height <= maxSide) return image;
    Image out;
    if (image.width >= image.height) {
        out.width = maxSide;
        out.height = std::max(1, int(int64_t(image.height) * maxSide / image.width));
    } else {
        out.height = maxSide;
        out.width = std::max(1, int(int64_t(image.width) * maxSide / image.height));
    }
    out.rgba.resize(size_t(out.width) * out.height * 4);
    for (int y = 0; y < out.height; ++y) {
        int y0 = int(int64_t(y) * image.height / out.height);
        int y1 = std::max(y0 + 1, int(int64_t(y + 1) * image.height / out.height));
        for (int x = 0; x < out.width; ++x) {
            int x0 = int(int64_t(x) * image.width / out.width);
            int x1 = std::max(x0 + 1, int(int64_t(x + 1) * image.width / out.width));
            AverageBlock(image, x0, x1, y0, y1, &out.rgba[(size_t(y) * out.width + x) * 4]);
        }
    }
    return out;
}

std::shared_ptr<platform::Texture> CreateTextureFromFile(platform::Gpu* gpu,
                                                         const std::string& path,
                                                         std::string* error) {
    Image image;
    if (!platform::DecodePng(path, &image, error)) return nullptr;
    Image fitted = FitImage(image, MaxTextureSide(gpu));
    if (!gpu) {
        auto record = std::make_shared<platform::Texture>();
        record->width = fitted.width;
        record->height = fitted.height;
        return record;
    }
    std::string reason;
    auto texture = gpu->CreateTexture(fitted.width, fitted.height, platform::PixelFormat::RGBA8,
                                      fitted.rgba.data(), true, &reason);
    if (!texture && error) *error = "cannot create a texture for " + path + ": " + reason;
    return texture;
}

}  // namespace DirectX
