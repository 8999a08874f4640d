// JacketCache: header checks, decoding on first use and the least-recently-used order.
#include "services/JacketCache.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>

#include "platform/Codepage.h"
#include "platform/PngHeader.h"
#include "platform/files/ContentFiles.h"
#include "services/GraphicsDevice.h"
#include "services/TextureStore.h"

namespace {

// The jacket file's name under "Data/Texture/".
std::wstring JacketFile(const std::wstring& title) { return title + L".png"; }

}  // namespace

JacketCache::~JacketCache() {
    if (warmUp_.joinable()) warmUp_.join();
}

std::string JacketSizeProblem(const platform::PngHeader& header) {
    const uint32_t most = JacketCache::kMaxSide;
    if (header.width <= most && header.height <= most) return {};
    return "the image is " + std::to_string(header.width) + "x" + std::to_string(header.height) +
           " pixels; a jacket may be at most " + std::to_string(most) + " on each side";
}

void JacketCache::StartWarmUp(std::function<ReadAheads()> work, std::string folder) {
    if (warmUpStarted_) return;
    warmUpStarted_ = true;
    warmUpFolder_ = std::move(folder);
    warmUp_ = std::thread([this, work = std::move(work)] { warmUpResults_ = work(); });
}

void JacketCache::FinishWarmUp() {
    if (!warmUp_.joinable()) return;
    warmUp_.join();  // the results are the thread's until it has ended
    std::error_code failed;
    if (std::filesystem::current_path(failed).string() == warmUpFolder_ && !failed)
        readAhead_ = std::move(warmUpResults_);
    warmUpResults_.clear();
}

bool JacketCache::Check(const std::wstring& title, std::string* error) {
    if (checked_.count(title) || store_.Find(title)) return true;
    FinishWarmUp();
    platform::PngHeader header;
    // The exact name first: one open instead of a look-up and an open, over thousands of
    // songs (none at all when the warm-up read it there); the full look-up (other folders,
    // other letter case) where that finds nothing.
    const std::string direct = platform::DirectContentPath(L"Data/Texture/" + JacketFile(title));
    const auto ahead = readAhead_.find(title);
    if (ahead != readAhead_.end() && ahead->second.path == direct) {
        header = ahead->second.header;
    } else if (!platform::ReadPngHeader(direct, &header, nullptr) &&
               !platform::ReadPngHeader(TexturePath(JacketFile(title)), &header, error)) {
        return false;
    }
    if (std::string problem = JacketSizeProblem(header); !problem.empty()) {
        if (error) *error = std::move(problem);
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
    FinishWarmUp();
    recent_.clear();
    checked_.clear();
    failed_.clear();
    readAhead_.clear();
    warmUpStarted_ = false;
}

void JacketCache::Trim() {
    while (recent_.size() > kCapacity) {
        store_.Remove(recent_.back());
        recent_.pop_back();
    }
}
