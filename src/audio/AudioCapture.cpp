// Headless audio capture into a float WAV file: header first with room for the sizes, the
// samples streamed frame by frame, the sizes filled in at the end.
// Depends on: audio/AudioCapture.h, platform/AudioBackend.h.
#include "audio/AudioCapture.h"

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/AudioBackend.h"

namespace {

constexpr uint32_t kRate = 44100;
constexpr uint32_t kChannels = 2;
constexpr uint32_t kFrameBytes = kChannels * 4;
// 44100 Hz times 16 ms is 705.6 sample frames: ten game frames make 7056.
constexpr uint64_t kSamplesPerTenFrames = 7056;
constexpr long kHeaderBytes = 12 + 26 + 12 + 8;

// The capture in progress; one per process, like the headless run it belongs to.
struct Capture {
    std::FILE* file = nullptr;
    std::string path;
    uint64_t frames = 0;    // game frames captured
    uint64_t rendered = 0;  // sample frames written
    bool writeFailed = false;
    std::vector<float> scratch;
};

Capture& TheCapture() {
    static Capture capture;
    return capture;
}

// Appends a little-endian value of the given width.
void Put(std::vector<uint8_t>& b, uint32_t value, int width) {
    for (int i = 0; i < width; ++i) b.push_back(uint8_t(value >> (8 * i)));
}

// Appends four characters.
void PutId(std::vector<uint8_t>& b, const char* id) {
    for (int i = 0; i < 4; ++i) b.push_back(uint8_t(id[i]));
}

// The RIFF header of a stereo float file holding the given sample frames.
std::vector<uint8_t> Header(uint32_t frames) {
    uint32_t dataBytes = frames * kFrameBytes;
    std::vector<uint8_t> b;
    PutId(b, "RIFF");
    Put(b, uint32_t(kHeaderBytes - 8) + dataBytes, 4);
    PutId(b, "WAVE");
    PutId(b, "fmt ");
    Put(b, 18, 4);
    Put(b, 3, 2);  // IEEE float
    Put(b, kChannels, 2);
    Put(b, kRate, 4);
    Put(b, kRate * kFrameBytes, 4);
    Put(b, kFrameBytes, 2);
    Put(b, 32, 2);
    Put(b, 0, 2);
    PutId(b, "fact");
    Put(b, 4, 4);
    Put(b, frames, 4);
    PutId(b, "data");
    Put(b, dataBytes, 4);
    return b;
}

// Writes bytes, remembering any failure for the end.
void Write(Capture& c, const void* bytes, size_t size) {
    if (!c.writeFailed && std::fwrite(bytes, 1, size, c.file) != size) c.writeFailed = true;
}

}  // namespace

bool StartAudioCapture(const std::string& wavPath, std::string* error) {
    Capture& c = TheCapture();
    if (c.file) {
        if (error) *error = "audio capture already running";
        return false;
    }
    if (!platform::SelectLoopbackOutput(true, error)) return false;
    c = Capture{};
    c.file = std::fopen(wavPath.c_str(), "wb");
    if (!c.file) {
        if (error) *error = wavPath + ": " + std::strerror(errno);
        platform::SelectLoopbackOutput(false, nullptr);
        return false;
    }
    c.path = wavPath;
    std::vector<uint8_t> header = Header(0);
    Write(c, header.data(), header.size());
    return true;
}

void CaptureAudioFrame() {
    Capture& c = TheCapture();
    if (!c.file) return;
    ++c.frames;
    uint64_t target = c.frames * kSamplesPerTenFrames / 10;
    size_t count = size_t(target - c.rendered);
    c.scratch.resize(count * kChannels);
    platform::RenderLoopback(c.scratch.data(), count);
    Write(c, c.scratch.data(), c.scratch.size() * sizeof(float));
    c.rendered = target;
}

bool FinishAudioCapture(std::string* error) {
    Capture& c = TheCapture();
    if (!c.file) {
        if (error) *error = "no audio capture running";
        return false;
    }
    bool tooLong = c.rendered * kFrameBytes + kHeaderBytes > 0xFFFFFFFFull;
    std::vector<uint8_t> header = Header(uint32_t(tooLong ? 0 : c.rendered));
    if (std::fseek(c.file, 0, SEEK_SET) != 0) c.writeFailed = true;
    Write(c, header.data(), header.size());
    bool closed = std::fclose(c.file) == 0;
    c.file = nullptr;
    platform::SelectLoopbackOutput(false, nullptr);
    if (tooLong || c.writeFailed || !closed) {
        if (error)
            *error = c.path + (tooLong ? ": the capture is too long for a WAV file"
                                       : ": could not write the captured sound");
        return false;
    }
    return true;
}
