// GameHarness: runs the Game scene update by update over a chart written into a fresh working
// folder, counting updates from 1 as the run's timeline does, and reads back what it drew.
// Depends on: tests/settings/SceneHarness.h, gameplay.
#pragma once

#include <cmath>
#include <memory>
#include <string>

#include "../settings/SceneHarness.h"
#include "gameplay/Game.h"
#include "gameplay/PlaySession.h"
#include "gameplay/RunScore.h"
#include "platform/Codepage.h"

namespace gametest {

constexpr uint32_t kW = 0x57, kA = 0x41, kS = 0x53, kD = 0x44;
constexpr uint32_t kI = 0x49, kJ = 0x4A, kK = 0x4B, kL = 0x4C;

// Window unit of a tempo, as the chart's notes move.
inline float Unit(int32_t bpm) { return (static_cast<float>(bpm) * 0.006f) / 1350.0f; }

class GameHarness : public scenetest::SceneHarness {
  protected:
    std::unique_ptr<Game> game;
    int updates = 0;  // updates run so far; the next one is updates + 1

    // Writes the chart of title and level, the scene's textures and the jacket, and records the
    // choice.
    void WriteChart(const std::string& text, const std::wstring& title = L"Song",
                    const std::wstring& level = L"1") {
        WriteFile("Data/Music/" + platform::WideToUtf8(title) + "/" + platform::WideToUtf8(level) +
                      ".nsd",
                  text);
        for (const char* name :
             {"Hit.png", "Up_Red.png", "Right_Red.png", "Down_Red.png", "Left_Red.png",
              "Up_Blue.png", "Right_Blue.png", "Down_Blue.png", "Left_Blue.png", "kk.png"})
            WriteTexture(name);
        WriteTexture(platform::WideToUtf8(title) + ".png");
        GetMusicChoice().title = title;
        GetMusicChoice().level = level;
    }

    // Creates and initialises the scene over the chart written before.
    void Start() {
        game = std::make_unique<Game>();
        ASSERT_TRUE(game->Initialize());
        updates = 0;
    }

    // Runs the next update with these keys pressed; returns the scene it hands over, if any.
    // A key pressed in one update is still down for the tracker in the next: leave a gap.
    std::unique_ptr<Scene> Next(std::initializer_list<uint32_t> keys = {}) {
        ++updates;
        KeyTimes::Get().Update();  // no key-down times: each press at its slot's start
        return Step(*game, keys);
    }

    // The same with each key pressed ms into the update's slot.
    std::unique_ptr<Scene> NextAt(std::initializer_list<uint32_t> keys, double ms) {
        ++updates;
        KeyTimes& times = KeyTimes::Get();
        times.FrameAt(1000);
        times.FrameAt(1016);
        for (uint32_t k : keys) times.KeyDown(k, 1000 * 1000 + std::llround(ms * 1000));
        times.Update();
        return Step(*game, keys);
    }

    // Runs updates without keys until update n has run.
    void RunThrough(int n) {
        while (updates < n) ASSERT_EQ(Next(), nullptr) << "update " << updates;
    }

    // Draws one frame and returns the text drawn with its rectangle's left and top, or "-".
    std::wstring TextAt(float left, float top) {
        Draw(*game);
        for (const TextCall& t : texts)
            if (t.rect.left == left && t.rect.top == top) return t.text;
        return L"-";
    }

    // The tint of the first sprite of this name drawn at x, in the last Draw.
    ColorRgb TintOf(const std::wstring& name, float x) {
        for (const SpriteCall& s : sprites)
            if (s.name == name && s.position.x == x) return {s.red, s.green, s.blue};
        return {-1, -1, -1};
    }

    // The red lane's judgement word as drawn now (hit line 500).
    std::wstring RedWord() { return TextAt(370, 427); }
    std::wstring BlueWord() { return TextAt(750, 427); }

    static std::vector<NoteRecord>& Red() { return GetPlaySession().redNotes; }
    static std::vector<NoteRecord>& Blue() { return GetPlaySession().blueNotes; }
};

}  // namespace gametest
