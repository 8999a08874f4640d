// TextureStore: name to texture, filled from "Data/Texture/" through the image loader.
// Depends on: media/ImageLoader.h, platform/files/ContentFiles.h, services/GraphicsDevice.h.
#include "services/TextureStore.h"

#include "media/ImageLoader.h"
#include "platform/Codepage.h"
#include "platform/Gpu.h"
#include "platform/files/ContentFiles.h"
#include "services/GraphicsDevice.h"

std::string TexturePath(const std::wstring& file) {
    return platform::ContentPath(L"Data/Texture/" + file);
}

TextureStore& TextureStore::Get() {
    static TextureStore store;
    return store;
}

// A name already present keeps its texture and the file is not looked at.
bool TextureStore::Load(const std::wstring& name, const std::wstring& file) {
    if (textures_.count(name)) {
        jackets_.Forget(name);
        return true;
    }
    const std::string path = TexturePath(file);
    GraphicsDevice& device = GraphicsDevice::Get();
    std::string error;
    auto texture = DirectX::CreateTextureFromFile(device.gpu.get(), path, &error);
    if (!texture) {
        device.lastError = "cannot load texture " + platform::WideToUtf8(name) + ": " + error;
        return false;
    }
    textures_.emplace(name, std::move(texture));
    return true;
}

bool TextureStore::LoadPixels(const std::wstring& name, int width, int height,
                              const uint8_t* rgba) {
    if (textures_.count(name)) return true;
    GraphicsDevice& device = GraphicsDevice::Get();
    std::shared_ptr<platform::Texture> texture;
    std::string error;
    if (device.gpu) {
        texture = device.gpu->CreateTexture(width, height, platform::PixelFormat::RGBA8, rgba,
                                            false, &error);
    } else {
        texture = std::make_shared<platform::Texture>();  // no device: the size alone (tests)
        texture->width = width;
        texture->height = height;
    }
    if (!texture) {
        device.lastError = "cannot make texture " + platform::WideToUtf8(name) + ": " + error;
        return false;
    }
    textures_.emplace(name, std::move(texture));
    return true;
}

std::shared_ptr<platform::Texture> TextureStore::Find(const std::wstring& name) const {
    auto it = textures_.find(name);
    return it == textures_.end() ? nullptr : it->second;
}

void TextureStore::Remove(const std::wstring& name) { textures_.erase(name); }

void TextureStore::Clear() {
    textures_.clear();
    jackets_.Clear();
}

const std::wstring& WhiteTexture() {
    static const std::wstring name = L"/white";
    static const uint8_t white[4] = {255, 255, 255, 255};
    TextureStore::Get().LoadPixels(name, 1, 1, white);
    return name;
}
