// GraphicsDevice: the process-wide holder of the drawing device: the window, the GPU context,
// the 1280x720 back buffer, clearing, the text pass bracket and presentation with occlusion.
// Depends on: platform GPU interface (platform/Gpu.h), services/TextRenderer (text pass).
#pragma once

#include <memory>
#include <string>

namespace platform {
class Gpu;
}

class GraphicsDevice {
  public:
    // The single device record, created empty on first use.
    static GraphicsDevice& Get();

    // Opaque native window handle given by the host before CreateDevice.
    void* window = nullptr;
    // The GPU back end; null until CreateDevice (tests may install a null back end).
    std::unique_ptr<platform::Gpu> gpu;
    // Why the last failed operation failed.
    std::string lastError;

    // Creates the GPU context over window; false with lastError on failure.
    bool CreateDevice();
    // Creates the back buffer, render target and viewport; false with lastError on failure.
    bool CreateDeviceResources();
    // Clears the back buffer to opaque black.
    void Clear();
    // Opens and closes the text pass drawn over the sprites.
    void BeginDraw();
    void EndDraw();
    // Presents the frame; returns true when the window cannot be seen (occluded).
    bool Present();
    // Test presentation while occluded; returns true when still occluded.
    bool PresentTest();
    // Unbinds every state at shutdown.
    void ClearState();
    // Releases the GPU context (shutdown, before the window goes); textures left elsewhere
    // become inert.
    void DestroyDevice();
    // Writes the back buffer as an opaque PNG; false with lastError on failure.
    bool SaveScreenshot(const std::string& path);
};
