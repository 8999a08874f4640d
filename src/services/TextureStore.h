// TextureStore: every texture of the game, loaded once by name from "Data/Texture/" and kept
// for the rest of the run. Load never replaces an entry.
// Depends on: media/ImageLoader, platform GPU interface.
#pragma once

#include <map>
#include <memory>
#include <string>

namespace platform {
struct Texture;
}

class TextureStore {
  public:
    // The single store, created empty on first use.
    static TextureStore& Get();
    // Loads "Data/Texture/" + file under name unless name is present; false stores nothing.
    bool Load(const std::wstring& name, const std::wstring& file);
    // The texture stored under name, or null.
    std::shared_ptr<platform::Texture> Find(const std::wstring& name) const;
    // Drops every texture (shutdown, before the device goes).
    void Clear();

  private:
    std::map<std::wstring, std::shared_ptr<platform::Texture>> textures_;
};
