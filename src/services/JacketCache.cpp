// JacketCache: header checks, decoding on first use and the least-recently-used order.
#include "services/JacketCache.h"

#include <algorithm>
#include <cstdio>

#include "platform/Codepage.h"
#include "platform/PngHeader.h"
#include "services/GraphicsDevice.h"
#include "services/TextureStore.h"

namespace {

// The jacket file's name under "Data/Texture/".
std::wstring JacketFile(const std::wstring& title) { return title + L".png"; }

}  // namespace

bool JacketCache::Check(const std::wstring& title, std::string* error) {
    if (checked_.count(title) || store_.Find(title)) return true;
    platform::PngHeader header;
    if (!platform::ReadPngHeader(TexturePath(JacketFile(title)), &header, error)) return false;
    if (header.width > kMaxSide || header.height > kMaxSide) {
        if (error)
            *error = "the image is " + std::to_string(header.width) + "x" +
                     std::to_string(header.height) + " pixels; a jacket may be at most " +
                     std::to_string(kMaxSide) + " on each side";
        return false;
    }
    checked_.insert(title);
    return true;
}

bool JacketCache::Use(const std::wstring& title) {
    auto it = std::find(recent_.begin(), recent_.end(), title);
    if (it != recent_.end()) {
        recent_.splice(recent_.begin(), recent_, it);
        return true;
    }
    if (store_.Find(title)) return true;  // held by a scene of its own
    if (failed_.count(title)) return false;
    if (!store_.Load(title, JacketFile(title))) {
        failed_.insert(title);
        std::fprintf(stderr, "lyrandel: jacket of \"%s\" not shown: %s\n",
                     platform::WideToUtf8(title).c_str(), GraphicsDevice::Get().lastError.c_str());
        return false;
    }
    recent_.push_front(title);
    Trim();
    return true;
}

bool JacketCache::NeedsDecoding(const std::wstring& title) const {
    return !store_.Find(title) && !failed_.count(title);
}

void JacketCache::Forget(const std::wstring& name) { recent_.remove(name); }

void JacketCache::Clear() {
    recent_.clear();
    checked_.clear();
    failed_.clear();
}

void JacketCache::Trim() {
    while (recent_.size() > kCapacity) {
        store_.Remove(recent_.back());
        recent_.pop_back();
    }
}
