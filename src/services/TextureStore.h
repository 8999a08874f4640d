// TextureStore: every texture of the game, loaded once by name from "Data/Texture/" and kept
// for the rest of the run, except the songs' jackets, which its jacket cache holds in a
// bounded number. Load never replaces an entry.
// Depends on: media/ImageLoader, platform GPU interface, services/JacketCache.h.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <string>

#include "services/JacketCache.h"

namespace platform {
struct Texture;
}

// The UTF-8 path to open for a texture file of "Data/Texture/", found in the content folders.
std::string TexturePath(const std::wstring& file);

class TextureStore {
  public:
    // The single store, created empty on first use.
    static TextureStore& Get();
    // Loads "Data/Texture/" + file under name unless name is present; false stores nothing.
    // A name present as a jacket of the cache stays for good from then on.
    bool Load(const std::wstring& name, const std::wstring& file);
    // Stores a texture made from straight RGBA pixels (rows top first) under name unless name
    // is present (textures the game draws without a file); false stores nothing.
    bool LoadPixels(const std::wstring& name, int width, int height, const uint8_t* rgba);
    // The texture stored under name, or null.
    std::shared_ptr<platform::Texture> Find(const std::wstring& name) const;
    // Drops the texture stored under name, if any (the jacket cache letting one go).
    void Remove(const std::wstring& name);
    // Textures stored.
    size_t size() const { return textures_.size(); }
    // Drops every texture (shutdown, before the device goes).
    void Clear();
    // The songs' jackets.
    JacketCache& jackets() { return jackets_; }

  private:
    std::map<std::wstring, std::shared_ptr<platform::Texture>> textures_;
    JacketCache jackets_{*this};
};

// The name of a one-pixel white texture for plain rectangles (a source rectangle of any size
// draws that many white pixels), made on first use; no title can hold "/", so no jacket takes
// the name.
const std::wstring& WhiteTexture();
