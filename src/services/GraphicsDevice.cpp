// GraphicsDevice: the GPU back end over the host window, the 1280x720 back buffer, the frame's
// clear, text pass bracket and presentation, and screenshots.
// Depends on: platform/Gpu.h, platform/NullGpu.h, platform/ImageCodec.h, services/TextRenderer.h.
#include "services/GraphicsDevice.h"

#include <cstdlib>
#include <cstring>

#include "platform/Gpu.h"
#include "platform/ImageCodec.h"
#include "platform/NullGpu.h"
#include "services/TextRenderer.h"

namespace {
constexpr int kWidth = 1280;
constexpr int kHeight = 720;
}  // namespace

GraphicsDevice& GraphicsDevice::Get() {
    static GraphicsDevice device;
    return device;
}

// Creates the GL context over window.
bool GraphicsDevice::CreateDevice() {
    if (!window) {
        lastError = "cannot create the graphics device: no window";
        return false;
    }
    std::string error;
    // Measurements only (docs/performance.md): the null back end, so a software GL driver's
    // drawing does not hide the frame loop's own cost.
    if (const char* v = std::getenv("LYRANDEL_BENCH_NULL_GPU"); v && std::strcmp(v, "1") == 0) {
        auto null = std::make_unique<platform::NullGpu>();
        null->keepVertices = false;
        gpu = std::move(null);
        return true;
    }
    gpu = platform::CreateGlGpu(window, &error);
    if (!gpu) {
        lastError = "cannot create the graphics device: " + error;
        return false;
    }
    return true;
}

// The back buffer and the one viewport covering it.
bool GraphicsDevice::CreateDeviceResources() {
    if (!gpu) {
        lastError = "cannot create the back buffer: no graphics device";
        return false;
    }
    std::string error;
    if (!gpu->CreateBackBuffer(kWidth, kHeight, &error)) {
        lastError = "cannot create the back buffer: " + error;
        return false;
    }
    gpu->SetViewport({0, 0, float(kWidth), float(kHeight)});
    return true;
}

void GraphicsDevice::Clear() {
    if (gpu) gpu->Clear(0, 0, 0, 1);
}

void GraphicsDevice::BeginDraw() { TextRenderer::Get().BeginPass(); }

void GraphicsDevice::EndDraw() { TextRenderer::Get().EndPass(); }

bool GraphicsDevice::Present() { return gpu ? gpu->Present() : false; }

bool GraphicsDevice::PresentTest() { return gpu ? gpu->IsOccluded() : false; }

void GraphicsDevice::ClearState() {
    if (gpu) gpu->ClearState();
}

// Releases the GPU back end and its context; textures still held elsewhere become inert.
void GraphicsDevice::DestroyDevice() {
    TextRenderer::Get().ReleaseDeviceResources();
    gpu.reset();
}

bool GraphicsDevice::SaveScreenshot(const std::string& path) {
    if (!gpu) {
        lastError = "cannot save screenshot " + path + ": no graphics device";
        return false;
    }
    platform::Image image;
    std::string error;
    if (!gpu->ReadBackBuffer(&image, &error) || !platform::WriteOpaquePng(path, image, &error)) {
        lastError = "cannot save screenshot " + path + ": " + error;
        return false;
    }
    return true;
}
