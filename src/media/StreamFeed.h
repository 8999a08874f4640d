// StreamFeed: one long sound playing on a voice, fed a quarter of a second at a time from its
// sample stream so that only its first pieces are read when it starts. After its start only
// the feeder thread queues pieces, whether or not frames run; a frame whose feeds run low
// waits for that thread, so the sound plays exactly as if it had been queued whole. A looping
// sound wraps at its loop region in the stream. A stream that fails (its file changed, shrank
// or cannot be decoded) says so on stderr once and ends the sound after what is queued.
// A sound may start at a given frame: later into itself (the frames before are read and
// dropped, exact whatever the format), or after leading silence (a piece of its own, queued
// first), so a start can be moved by a single sample.
// Depends on: media/SampleStream.h, platform/AudioBackend.h.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "media/SampleStream.h"
#include "platform/AudioBackend.h"

namespace DirectX {

// Pieces queued at the start, the most kept waiting, and the least a frame lets the mixer
// have before it (0.25 s each).
constexpr size_t kStartPieces = 2;
constexpr size_t kPiecesAhead = 8;
constexpr size_t kFramePiecesLow = 2;

// Frames of a stream's loop region; a length of 0 (or a region outside the sound) loops it
// whole.
struct LoopRegion {
    uint64_t start = 0;
    uint64_t length = 0;
};

class StreamFeed {
  public:
    // name is the file as messages name it. startFrame > 0 starts that many frames into the
    // sound, < 0 plays that many frames of silence first.
    StreamFeed(platform::AudioBackend* backend, platform::VoiceId voice,
               std::unique_ptr<SampleStream> stream, LoopRegion loop, bool looping,
               std::string name, int64_t startFrame = 0);
    ~StreamFeed();
    StreamFeed(const StreamFeed&) = delete;
    StreamFeed& operator=(const StreamFeed&) = delete;

    // Queues the first pieces and starts the voice, before the feeder knows the feed; false
    // when the back end refused them.
    bool Start();
    // The feeder thread's work: takes back finished pieces, queues more up to kPiecesAhead
    // (letting go of the feed between pieces, so a stop never waits long), and restarts a
    // voice that ran dry. False once the sound has ended or been halted.
    bool TopUp();
    // True while the voice has fewer than low pieces still to play and more samples remain
    // (any thread, without the feed's lock).
    bool RunsLow(size_t low) const;
    // A looping sound plays on to the end of its samples instead of wrapping again.
    void ExitLoop();
    // Stops the voice and frees every piece; the feed never touches the back end again.
    void Halt();
    // True until the last piece has played (false once halted).
    bool IsSounding();

  private:
    // Reads and queues one piece; false when there is nothing more or it failed.
    bool QueuePiece();
    // Queues samples in the stream's layout as one piece; false (said once) when refused.
    bool QueueBytes(const std::vector<uint8_t>& bytes, const char* refused);
    // Queues frames of silence in the stream's layout; false when the back end refused them.
    bool QueueSilence(uint64_t frames);
    // Reads and drops the stream's first frames; false when it ended or failed first.
    bool Skip(uint64_t frames);
    // Restarts a voice that ran dry, dropping pieces it played before it stopped.
    void Restart(size_t fresh);
    // Says once why the sound ends early; queues nothing more.
    void Fail(const std::string& why);

    std::mutex mutex_;
    platform::AudioBackend* backend_;
    platform::VoiceId voice_;
    std::unique_ptr<SampleStream> stream_;
    uint64_t loopStart_ = 0;
    uint64_t loopEnd_ = 0;
    bool looping_;
    std::string name_;
    size_t pieceFrames_;
    int64_t startFrame_;
    uint64_t position_ = 0;                // the next frame of the stream to queue
    std::atomic<bool> exhausted_ = false;  // nothing more will be queued
    bool halted_ = false;
    std::deque<platform::BufferId> pieces_;  // queued, oldest first
    std::vector<uint8_t> scratch_;
};

}  // namespace DirectX
