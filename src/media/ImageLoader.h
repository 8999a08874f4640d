// DirectX image loader: a PNG file into a texture with a full mipmap chain, scaled down
// (keeping its aspect) when its larger side exceeds what the device allows.
// Depends on: platform/Gpu.h, platform/ImageCodec.h.
#pragma once

#include <memory>
#include <string>

#include "platform/Gpu.h"

namespace DirectX {

// The largest side a texture may have on gpu: the device's limit, at most 16384.
int MaxTextureSide(const platform::Gpu* gpu);
// The image scaled down by area averaging so that neither side exceeds maxSide.
platform::Image FitImage(const platform::Image& image, int maxSide);
// Decodes path (UTF-8) and uploads it to gpu; without a gpu, a record with only the size.
// Null with error on failure.
std::shared_ptr<platform::Texture> CreateTextureFromFile(platform::Gpu* gpu,
                                                         const std::string& path,
                                                         std::string* error);

}  // namespace DirectX
