// Title: effect animation (a cell every fourth update), title music and the two hand-overs.
// Depends on: TextureStore, SpriteRenderer, TextRenderer, KeyInput, SoundManager, and the
// scenes it hands over to (SelectMusic, ConfigS).
#include "settings/Title.h"

#include "audio/SoundManager.h"
#include "selection/JacketWarmUp.h"
#include "selection/SelectMusic.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/ConfigS.h"

namespace {

constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeyE = 0x45;
constexpr int32_t kCells = 15;
constexpr int32_t kColumns = 5;
constexpr int32_t kCellSize = 120;
constexpr int32_t kUpdatesPerCell = 4;

// Asks the sound manager for silence before a hand-over.
void StopTitleMusic() { SoundManager::Get().RequestBackgroundMusic(L"", 0.0f); }

}  // namespace

// Loads the effect sheet and starts the animation at cell 0.
bool Title::Initialize() {
    if (!TextureStore::Get().Load(L"star_sky", L"lumo-btleffect112f.png")) return false;
    animTick = 0;
    animFrame = 0;
    return true;
}

// Keeps the title music requested, hands over on Space (first) or E, else animates. Songs
// dropped on the window take the player to the selection, which imports them.
Scene* Title::Update() {
    SoundManager::Get().RequestBackgroundMusic(L"Zaroz.uro", 0.8f);
    // The selection's jackets are read ahead while this screen shows, once its first frame is
    // out (the reading would compete with the start-up for the cores).
    if (animTick > 0 || animFrame > 0) StartJacketWarmUp();
    const KeyInput& keys = KeyInput::Get();
    if (keys.IsKeyPressed(kKeySpace) || !keys.droppedPaths.empty()) {
        StopTitleMusic();
        return new SelectMusic;
    }
    if (keys.IsKeyPressed(kKeyE)) {
        StopTitleMusic();
        return new ConfigS;
    }
    if (++animTick >= kUpdatesPerCell) {
        animTick = 0;
        animFrame = (animFrame + 1) % kCells;
    }
    return nullptr;
}

// Draws the current cell with its top edge centred at (640, 250).
void Title::DrawSprites() {
    const int32_t left = (animFrame % kColumns) * kCellSize;
    const int32_t top = (animFrame / kColumns) * kCellSize;
    const IntRect source{left, top, left + kCellSize, top + kCellSize};
    SpriteRenderer::Get().DrawSprite({640, 250}, &source, 255, 0, {60, 0}, 255, 255, 255, 0, 1.0f,
                                     L"star_sky");
}

// Draws the game's name and the key prompt in white.
void Title::DrawTexts() {
    TextRenderer& text = TextRenderer::Get();
    text.layoutRect = {490, 210, 790, 810};
    text.brush.SetColor({1, 1, 1, 1});
    text.DrawString(L"Lyrandel");
    text.layoutRect = {490, 400, 790, 1000};
    text.brush.SetColor({1, 1, 1, 1});
    text.DrawString(L"Push \"SpaceKey\" to Start\n\n\"E\" Key to ConfigMenu");
}
