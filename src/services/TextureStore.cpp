// TextureStore: placeholder until the image loader lands.
#include "services/TextureStore.h"

#include "platform/Gpu.h"

TextureStore& TextureStore::Get() {
    static TextureStore store;
    return store;
}
bool TextureStore::Load(const std::wstring& name, const std::wstring&) {
    textures_.emplace(name, std::make_shared<platform::Texture>());
    return true;
}
std::shared_ptr<platform::Texture> TextureStore::Find(const std::wstring& name) const {
    auto it = textures_.find(name);
    return it == textures_.end() ? nullptr : it->second;
}
