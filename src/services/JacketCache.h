// JacketCache: the songs' jackets (the texture of a title, from "Data/Texture/" + title +
// ".png"). Reading the music list only checks each jacket's PNG header, which is cheap and
// still stops the selection on a jacket that cannot be read; a jacket is decoded into the
// texture store, under its title, when a screen first draws it. The cache holds at most
// kCapacity jackets: each use makes a jacket the most recent, and the least recently used
// one is let go first. A jacket whose header passed but whose image cannot be decoded is
// drawn as nothing and reported once on stderr.
// Depends on: services/TextureStore.h, platform/PngHeader.h, platform/Codepage.h.
#pragma once

#include <cstddef>
#include <functional>
#include <list>
#include <set>
#include <string>
#include <thread>
#include <unordered_map>

#include "platform/PngHeader.h"

class TextureStore;

// Why a jacket of this size cannot be used (more than JacketCache::kMaxSide a side); empty when
// it can.
std::string JacketSizeProblem(const platform::PngHeader& header);

class JacketCache {
  public:
    // Jackets held at most: what the selection shows (three) and two ahead on either side,
    // with one to spare.
    static constexpr size_t kCapacity = 8;
    // The largest side a jacket may have: it is drawn 256 pixels wide.
    static constexpr uint32_t kMaxSide = 4096;

    // The header of a jacket read ahead, with the path it was read from.
    struct ReadAhead {
        std::string path;
        platform::PngHeader header;
    };
    using ReadAheads = std::unordered_map<std::wstring, ReadAhead>;

    explicit JacketCache(TextureStore& store) : store_(store) {}
    ~JacketCache();
    JacketCache(const JacketCache&) = delete;
    JacketCache& operator=(const JacketCache&) = delete;

    // Runs work (reading jackets' headers, touching nothing of the game) on a thread of its own;
    // once only, later calls do nothing. Its paths are relative to folder (the working
    // directory when it starts); its results are dropped if that is no longer the working
    // directory when they are taken.
    void StartWarmUp(std::function<ReadAheads()> work, std::string folder);
    // True once a warm-up has started (until Clear).
    bool warmUpStarted() const { return warmUpStarted_; }

    // Checks the jacket file of title by its PNG header; a title that passed is not checked
    // again. False with the reason in error.
    bool Check(const std::wstring& title, std::string* error);
    // Makes the jacket of title present in the texture store, decoding it when it is not, and
    // makes it the most recent. False when it cannot be decoded.
    bool Use(const std::wstring& title);
    // True when Use would decode the jacket of title: it is neither present nor known to fail.
    bool NeedsDecoding(const std::wstring& title) const;
    // A name the store now holds for a scene of its own: the cache never lets it go.
    void Forget(const std::wstring& name);
    // Jackets held by the cache.
    size_t size() const { return recent_.size(); }
    // Waits for a warm-up still running and keeps its results (the first check does it too).
    void FinishWarmUp();
    // Forgets everything (the store is being emptied), the warm-up's results too; a warm-up
    // may start again.
    void Clear();

  private:
    // Lets the least recently used jackets go until the cache is within its capacity.
    void Trim();

    TextureStore& store_;
    // Jackets held, most recent first.
    std::list<std::wstring> recent_;
    // Titles whose header passed, and those whose image could not be decoded.
    std::set<std::wstring> checked_, failed_;
    // The warm-up: its thread, where it puts its results, and the results taken from it.
    std::thread warmUp_;
    bool warmUpStarted_ = false;
    std::string warmUpFolder_;
    ReadAheads warmUpResults_;
    ReadAheads readAhead_;
};
