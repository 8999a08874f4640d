// SelectMusic: keys A/D (piece), W/S (level), Space (play), Q (title), E (configuration),
// the preview schedule, and the jackets, frame and ten text blocks.
// Depends on: MusicList, MusicChoice, TextureStore, SpriteRenderer, TextRenderer, KeyInput,
// SoundManager and SongFile, PlayerProfile, and the scenes it hands over to (Game, Title, ConfigS).
#include "selection/SelectMusic.h"

#include <iostream>
#include <string>

#include "audio/SongFile.h"
#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "selection/MusicChoice.h"
#include "selection/SongOffsetKeys.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/ConfigS.h"
#include "settings/PlayerProfile.h"
#include "settings/Title.h"

namespace {

constexpr uint32_t kKeySpace = 0x20;
constexpr int32_t kTickLength = 60;

struct LevelRgb {
    int r, g, b;
};
// Frame and current level text, by level.
constexpr LevelRgb kBright[3] = {{0, 250, 154}, {255, 140, 0}, {255, 0, 0}};
// The neighbours' level text, by level.
constexpr LevelRgb kDim[3] = {{0, 128, 0}, {205, 133, 63}, {178, 34, 34}};
constexpr int kGrey = 136;

// A text colour from 0-255 components, opaque.
Color4 ToColor(const LevelRgb& c) { return {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1.0f}; }

// Sets the rectangle and colour and draws one block.
void Block(const std::wstring& text, LayoutRect rect, Color4 color) {
    TextRenderer& renderer = TextRenderer::Get();
    renderer.layoutRect = rect;
    renderer.brush.SetColor(color);
    renderer.DrawString(text);
}

// Title and credit lines of an entry.
std::wstring Caption(const MusicEntry& e) { return e.title + L"\nMusic : " + e.credit; }

}  // namespace

// Reads the list with its jackets checked, loads the frame and restores the last confirmed choice.
bool SelectMusic::Initialize() {
    std::string error;
    if (!ReadMusicList(entries, error)) {
        std::cerr << "lyrandel: " << error << '\n';
        return false;
    }
    if (!TextureStore::Get().Load(L"waku", L"SelectMusic.png")) {
        std::cerr << "lyrandel: Data/Texture/SelectMusic.png: cannot be loaded\n";
        return false;
    }
    const MusicChoice& choice = GetMusicChoice();
    index = 0;
    level = 0;
    if (!choice.title.empty()) {
        // A list that became shorter since the choice starts again at its top.
        if (choice.index >= 0 && choice.index < static_cast<int32_t>(entries.size()))
            index = choice.index;
        if (choice.level == L"1" || choice.level == L"2" || choice.level == L"3")
            level = choice.level[0] - L'1';
    }
    shownIndex = -1;
    drawnIndex = -1;
    countdown = 0;
    previewPhase = 0;
    return true;
}

// Moves the highlight and the level, then confirms, leaves, or runs the preview.
Scene* SelectMusic::Update() {
    const KeyInput& keys = KeyInput::Get();
    SoundManager& sound = SoundManager::Get();
    const int32_t n = static_cast<int32_t>(entries.size());
    if (keys.IsKeyPressed('A')) index = (index + n - 1) % n;
    if (keys.IsKeyPressed('D')) index = (index + 1) % n;
    if (keys.IsKeyPressed('W')) level = (level + 1) % 3;
    if (keys.IsKeyPressed('S')) level = (level + 2) % 3;
    const MusicEntry& entry = entries[index];
    StepSongOffset(entry.title);
    if (keys.IsKeyPressed(kKeySpace) && entry.levels[level] >= 1) {
        sound.PlaySoundEffect(L"kira2.wav", 0.1f);
        sound.PlayMusic(L"", 0.0f);
        MusicChoice& choice = GetMusicChoice();
        choice.index = index;
        choice.title = entry.title;
        choice.level = std::to_wstring(level + 1);
        return new Game;
    }
    if (keys.IsKeyPressed('Q')) {
        sound.PlayMusic(L"", 0.0f);
        return new Title;
    }
    if (keys.IsKeyPressed('E')) {
        sound.PlayMusic(L"", 0.0f);
        return new ConfigS;
    }
    RunPreview();
    return nullptr;
}

// Starts the preview two ticks after the highlight settles, plays it for at most sixteen
// ticks, pauses three and starts it again.
void SelectMusic::RunPreview() {
    SoundManager& sound = SoundManager::Get();
    int32_t t = countdown;
    if (shownIndex != index) {
        sound.PlaySoundEffect(L"card-turn-over1.wav", 0.2f);
        sound.RequestBackgroundMusic(L"", 0.0f);
        sound.PlayMusic(L"", 0.0f);
        previewPhase = -2;
        t = kTickLength;
    }
    countdown = t - 1;
    if (countdown < 0) {
        --previewPhase;
        if (previewPhase == -1) sound.PlayMusic(L"", 0.0f);
        if (previewPhase == -4) {
            const std::wstring& title = entries[index].title;
            sound.PlayMusic(SongMusicName(title), 0.4f);
            previewPhase = 15;
        }
        countdown = kTickLength;
    }
    shownIndex = index;
}

const MusicEntry& SelectMusic::Neighbour(int step) const {
    const int32_t n = static_cast<int32_t>(entries.size());
    return entries[((index + step) % n + n) % n];
}

// Jackets are decoded when first drawn. The three shown ones come first. A frame in which
// the highlight did not move and no shown jacket had to be decoded decodes one jacket up to
// two places away ahead of time: stepping (a key can go down every other frame) then finds its
// jackets ready, the decoding falls in the quiet frames between steps, and no frame decodes
// more than one jacket after the first. A jacket that cannot be decoded is not drawn.
void SelectMusic::PrepareJackets() {
    JacketCache& cache = TextureStore::Get().jackets();
    bool busy = index != drawnIndex;
    drawnIndex = index;
    for (int step : {-1, 0, 1}) {
        const std::wstring& title = Neighbour(step).title;
        busy = busy || cache.NeedsDecoding(title);
        jacketShown[step + 1] = cache.Use(title);
    }
    for (int step : {1, -1, 2, -2}) {
        const std::wstring& title = Neighbour(step).title;
        if (!cache.NeedsDecoding(title)) {
            cache.Use(title);  // keeps it among the most recent
        } else if (!busy) {
            cache.Use(title);
            busy = true;
        }
    }
}

// The highlighted jacket, its two neighbours dimmed, and the frame in the level's colour.
void SelectMusic::DrawSprites() {
    PrepareJackets();
    SpriteRenderer& sprites = SpriteRenderer::Get();
    const IntRect jacket{0, 0, 256, 256};
    const LevelRgb& bright = kBright[level];
    if (jacketShown[1])
        sprites.DrawSprite({640, 10}, &jacket, 255, 0, {128, 0}, 255, 255, 255, 0, 1,
                           entries[index].title);
    if (jacketShown[0])
        sprites.DrawSprite({300, -90}, &jacket, 255, 0, {128, 0}, kGrey, kGrey, kGrey, 0, 1,
                           Neighbour(-1).title);
    if (jacketShown[2])
        sprites.DrawSprite({980, -90}, &jacket, 255, 0, {128, 0}, kGrey, kGrey, kGrey, 0, 1,
                           Neighbour(1).title);
    sprites.DrawSprite({640, 270}, &jacket, 255, 0, {100, 0}, bright.r, bright.g, bright.b, 0, 1,
                       L"waku");
}

// The ten text blocks: the highlighted piece, the keys, both neighbours, help and high score.
void SelectMusic::DrawTexts() {
    const Color4 white{1, 1, 1, 1};
    const Color4 grey = ToColor({kGrey, kGrey, kGrey});
    const MusicEntry& current = entries[index];
    const MusicEntry& previous = Neighbour(-1);
    const MusicEntry& next = Neighbour(1);
    const std::wstring rating = L"Level\n";
    Block(L"\u266A \u266A \u266A\n" + Caption(current), {540, 300, 740, 900}, white);
    Block(rating + std::to_wstring(current.levels[level]), {540, 370, 740, 970},
          ToColor(kBright[level]));
    Block(L"A << ", {400, 350, 600, 950}, white);
    Block(L" >> D", {680, 350, 880, 950}, white);
    Block(Caption(previous), {200, 200, 400, 800}, grey);
    Block(rating + std::to_wstring(previous.levels[level]), {200, 260, 400, 860},
          ToColor(kDim[level]));
    Block(Caption(next), {880, 200, 1080, 800}, grey);
    Block(rating + std::to_wstring(next.levels[level]), {880, 260, 1080, 860},
          ToColor(kDim[level]));
    Block(L"\"Space\" Key Play to Game\n\n\"Q\" Key Back Title\n\"E\" Key to ConfigMenu",
          {540, 500, 740, 1100}, white);
    Block(L"HiScore\n" + std::to_wstring(GetHighScore(current.title, level)), {540, 420, 740, 1020},
          white);
    DrawSongOffset(current.title);
}
