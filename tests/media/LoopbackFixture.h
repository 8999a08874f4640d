// Test fixture: an audio engine on the loopback device, WAV files written into a fresh
// temporary working directory, and rendering of the mix frame by frame.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <vector>

#include "WavBuilder.h"
#include "media/AudioEngine.h"
#include "media/SoundEffect.h"
#include "media/SoundEffectInstance.h"
#include "platform/AudioBackend.h"

class LoopbackTest : public ::testing::Test {
  protected:
    void SetUp() override {
        oldDir_ = std::filesystem::current_path();
        dir_ = std::filesystem::temp_directory_path() /
               ("lyrandel-audio-" + std::to_string(getpid()) + "-" + std::to_string(counter_++));
        std::filesystem::create_directories(dir_);
        std::filesystem::current_path(dir_);
        std::string error;
        ASSERT_TRUE(platform::SelectLoopbackOutput(true, &error)) << error;
    }

    void TearDown() override {
        platform::SelectLoopbackOutput(false, nullptr);
        std::filesystem::current_path(oldDir_);
        std::filesystem::remove_all(dir_);
    }

    // Writes bytes to a file under the working directory, making folders on the way.
    static void WriteFile(const std::filesystem::path& path, const wavtest::Bytes& bytes) {
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
    }

    // The next frames of the mix, interleaved left and right.
    static std::vector<float> Render(size_t frames) {
        std::vector<float> out(frames * 2);
        EXPECT_TRUE(platform::RenderLoopback(out.data(), frames));
        return out;
    }

    // True when every sample is exactly zero.
    static bool Silent(const std::vector<float>& mix) {
        for (float v : mix)
            if (v != 0.0f) return false;
        return true;
    }

    // A stereo 16-bit file whose left channel counts 1, 2, 3... and right is its negation.
    static wavtest::Bytes CountingStereo(size_t frames,
                                         const std::vector<wavtest::Bytes>& extra = {}) {
        std::vector<int16_t> s;
        for (size_t i = 0; i < frames; ++i) {
            s.push_back(int16_t(i + 1));
            s.push_back(int16_t(-int(i + 1)));
        }
        return wavtest::PcmFile(2, s, extra);
    }

    // The 16-bit value a counting file holds at frame i of the left channel, as mixed.
    static float Count(size_t i, float gain = 1.0f) { return float(i + 1) / 32768.0f * gain; }

    // A 16-bit stereo file whose left channel counts 1 to 30000 over and over, right silent:
    // long enough to be streamed, every frame still telling where it came from.
    static wavtest::Bytes CountingLong(size_t frames) {
        std::vector<int16_t> s;
        for (size_t i = 0; i < frames; ++i) s.push_back(int16_t(i % 30000 + 1)), s.push_back(0);
        return wavtest::PcmFile(2, s);
    }
    // The left sample a CountingLong file gives at frame i.
    static float CountedLong(size_t i) { return float(i % 30000 + 1) / 32768.0f; }

    // Renders seconds of the engine's mix without any frame: between tenths of a second only
    // the feeder thread runs (waited for, as real time would let it run).
    static std::vector<float> RenderFed(DirectX::AudioEngine& engine, double seconds) {
        std::vector<float> mix;
        for (size_t tenth = 0; tenth < size_t(seconds * 10); ++tenth) {
            engine.Feeder().WaitForPass();
            std::vector<float> part = Render(4410);
            mix.insert(mix.end(), part.begin(), part.end());
        }
        return mix;
    }

  private:
    std::filesystem::path oldDir_;
    std::filesystem::path dir_;
    static inline int counter_ = 0;
};

// An audio engine on the loopback device, with room for the effect and instance a test plays;
// they go before the engine does.
class EngineOnLoopback : public LoopbackTest {
  protected:
    void SetUp() override {
        LoopbackTest::SetUp();
        engine = std::make_unique<DirectX::AudioEngine>();
        ASSERT_TRUE(engine->IsAudioDevicePresent());
    }
    void TearDown() override {
        instance.reset();
        effect.reset();
        engine.reset();
        LoopbackTest::TearDown();
    }

    std::unique_ptr<DirectX::AudioEngine> engine;
    std::unique_ptr<DirectX::SoundEffect> effect;
    std::unique_ptr<DirectX::SoundEffectInstance> instance;
};
