// TextureStore: name to texture, filled from "Data/Texture/" through the image loader.
// Depends on: media/ImageLoader.h, platform/files/ContentFiles.h, services/GraphicsDevice.h.
#include "services/TextureStore.h"

#include "media/ImageLoader.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/Gpu.h"
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

std::shared_ptr<platform::Texture> TextureStore::Find(const std::wstring& name) const {
    auto it = textures_.find(name);
    return it == textures_.end() ? nullptr : it->second;
}

void TextureStore::Remove(const std::wstring& name) { textures_.erase(name); }

void TextureStore::Clear() {
    textures_.clear();
    jackets_.Clear();
}
