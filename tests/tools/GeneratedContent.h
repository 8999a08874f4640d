// Runs the demo content generator for tests: once per test process into a temporary folder
// (removed at exit), or on demand into a folder of the caller's.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace testcontent {

// True when the build gave the tests the generator's path.
bool HaveGenerator();
// Runs the generator into dir; returns its exit status.
int Generate(const std::filesystem::path& dir);
// The tree generated once for this process; empty path if the generator failed.
const std::filesystem::path& SharedTree();
// A fresh, empty temporary folder that the caller removes.
std::filesystem::path MakeTempDir();
// The whole content of a file ("" if it cannot be read).
std::string ReadFile(const std::filesystem::path& path);

// A decoded 16-bit stereo PCM WAV file; ok is false for anything else.
struct Wav {
    bool ok = false;
    int channels = 0, rate = 0, bits = 0;
    std::vector<int16_t> samples;  // interleaved
    size_t Frames() const { return channels ? samples.size() / channels : 0; }
};
Wav ReadWav(const std::filesystem::path& path);

}  // namespace testcontent
