// GraphicsDevice: placeholder until the GPU back end lands: everything succeeds, nothing draws.
#include "services/GraphicsDevice.h"

#include "platform/Gpu.h"

GraphicsDevice& GraphicsDevice::Get() {
    static GraphicsDevice device;
    return device;
}
bool GraphicsDevice::CreateDevice() { return true; }
bool GraphicsDevice::CreateDeviceResources() { return true; }
void GraphicsDevice::Clear() {}
void GraphicsDevice::BeginDraw() {}
void GraphicsDevice::EndDraw() {}
bool GraphicsDevice::Present() { return false; }
bool GraphicsDevice::PresentTest() { return false; }
void GraphicsDevice::ClearState() {}
bool GraphicsDevice::SaveScreenshot(const std::string&) {
    lastError = "screenshots are not available";
    return false;
}
