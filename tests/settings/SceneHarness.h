// SceneHarness: runs a menu scene frame by frame without a window: a fresh temporary working
// folder, a keyboard fed with key messages, and the sprite, text and sound observers recorded.
// Depends on: GoogleTest, services, audio/SoundManager, settings and selection records.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "audio/SoundManager.h"
#include "media/Keyboard.h"
#include "platform/Messages.h"
#include "selection/MusicChoice.h"
#include "services/KeyInput.h"
#include "services/KeyTimes.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "settings/Config.h"
#include "settings/KeyBindings.h"
#include "settings/PlayerProfile.h"
#include "settings/Timing.h"
#include "shell/Scene.h"

namespace scenetest {

constexpr uint32_t kBackspace = 0x08;
constexpr uint32_t kSpace = 0x20;

// A 1 by 1 white PNG image, enough for any texture the scenes load.
inline const unsigned char kTinyPng[] = {
    0x89, 0x50, 0x4e, 0x47, 0x0d, 0x0a, 0x1a, 0x0a, 0x00, 0x00, 0x00, 0x0d, 0x49, 0x48,
    0x44, 0x52, 0x00, 0x00, 0x00, 0x01, 0x00, 0x00, 0x00, 0x01, 0x08, 0x06, 0x00, 0x00,
    0x00, 0x1f, 0x15, 0xc4, 0x89, 0x00, 0x00, 0x00, 0x0b, 0x49, 0x44, 0x41, 0x54, 0x78,
    0x9c, 0x63, 0xf8, 0x0f, 0x04, 0x00, 0x09, 0xfb, 0x03, 0xfd, 0xfb, 0x5e, 0x6b, 0x2b,
    0x00, 0x00, 0x00, 0x00, 0x49, 0x45, 0x4e, 0x44, 0xae, 0x42, 0x60, 0x82};

class SceneHarness : public ::testing::Test {
  protected:
    std::filesystem::path home;
    std::filesystem::path folder;
    std::vector<SpriteCall> sprites;
    std::vector<TextCall> texts;
    std::vector<SoundCall> sounds;

    // Moves into a fresh folder, resets the process-wide records and watches the services.
    void SetUp() override {
        home = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() /
                 ("lyrandel-scene-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        GetConfig() = Config{};
        GetPlayerProfile() = PlayerProfile{};
        GetMusicChoice() = MusicChoice{};
        GetKeyBindings() = KeyBindings{};
        GetTiming() = Timing{};
        KeyTimes::Get().Reset();
        KeyInput::Get().keyboard = std::make_unique<DirectX::Keyboard>();
        KeyInput::Get().tracker.Reset();
        SpriteRenderer::Get().observer = [this](const SpriteCall& c) { sprites.push_back(c); };
        TextRenderer::Get().observer = [this](const TextCall& c) { texts.push_back(c); };
        SoundManager::Get().observer = [this](const SoundCall& c) { sounds.push_back(c); };
    }

    // Leaves the folder and releases everything SetUp installed.
    void TearDown() override {
        SpriteRenderer::Get().observer = nullptr;
        TextRenderer::Get().observer = nullptr;
        SoundManager::Get().observer = nullptr;
        KeyInput::Get().keyboard.reset();
        KeyInput::Get().tracker.Reset();
        GetPlayerProfile() = PlayerProfile{};
        GetMusicChoice() = MusicChoice{};
        GetKeyBindings() = KeyBindings{};
        GetTiming() = Timing{};
        KeyTimes::Get().Reset();
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }

    // Writes bytes to a file under the working folder, making its folders.
    static void WriteFile(const std::filesystem::path& path, const std::string& bytes) {
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The whole file under the working folder, or "<missing>".
    static std::string ReadFile(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // Puts a small valid PNG at "Data/Texture/" + file.
    static void WriteTexture(const std::string& file) {
        WriteFile("Data/Texture/" + file,
                  std::string(reinterpret_cast<const char*>(kTinyPng), sizeof kTinyPng));
    }

    // One frame of logic with these keys newly pressed; they are released after the frame
    // (with a key update of its own, so the next frame can press them again). The sounds of
    // the frame replace the record.
    std::unique_ptr<Scene> Step(Scene& scene, std::initializer_list<uint32_t> keys = {}) {
        sounds.clear();
        for (uint32_t k : keys) DirectX::Keyboard::HandleMessage(platform::kMsgKeyDown, k, 0);
        KeyInput::Get().Update();
        std::unique_ptr<Scene> next(scene.Update());
        for (uint32_t k : keys) DirectX::Keyboard::HandleMessage(platform::kMsgKeyUp, k, 0);
        KeyInput::Get().Update();
        return next;
    }

    // Runs n frames without keys; fails the test if the scene hands over.
    void Idle(Scene& scene, int n) {
        for (int i = 0; i < n; ++i) ASSERT_EQ(Step(scene), nullptr);
    }

    // Both draw passes of one frame; the record holds only this frame's calls.
    void Draw(Scene& scene) {
        sprites.clear();
        texts.clear();
        scene.DrawSprites();
        scene.DrawTexts();
    }

    // The number of recorded sounds of this kind and name.
    int CountSounds(SoundCall::Kind kind, const std::wstring& name) const {
        int n = 0;
        for (const SoundCall& c : sounds) n += c.kind == kind && c.name == name;
        return n;
    }
};

}  // namespace scenetest
