// SelectMusic: keys A/D (piece), W/S (level), Space (play), Q (title), E (configuration), the
// preview schedule, and the jackets, frame and ten text blocks; the added keys (search, order,
// packs, jumps, random, V for the best replay, "-" and "=" for the song's offset), held-key
// repeat and dropped songs through the selection's helpers.
// Depends on: MusicList, MusicChoice, SongBrowser, SearchLine, KeyRepeat, PacksFile,
// SelectionFile, SelectionOverlay, DropImport, ReplayShortcut, TextureStore, SpriteRenderer,
// TextRenderer, KeyInput, SoundManager and SongFile, PlayerProfile and PlayStats, and the scenes
// it hands over to (Game, Title, ConfigS).
#include "selection/SelectMusic.h"

#include <filesystem>
#include <iostream>
#include <string>

#include "audio/SongFile.h"
#include "audio/SoundManager.h"
#include "gameplay/Game.h"
#include "platform/Codepage.h"
#include "platform/Messages.h"
#include "selection/MusicChoice.h"
#include "selection/PacksFile.h"
#include "selection/SelectionFile.h"
#include "selection/SongOffsetKeys.h"
#include "selection/SongSearch.h"
#include "services/KeyInput.h"
#include "services/SpriteRenderer.h"
#include "services/TextRenderer.h"
#include "services/TextureStore.h"
#include "settings/ConfigS.h"
#include "settings/PlayStats.h"
#include "settings/PlayerProfile.h"
#include "settings/Title.h"

namespace {

constexpr uint32_t kKeySpace = 0x20;
constexpr uint32_t kKeySlash = 0xBF;
constexpr int32_t kTickLength = 60;

struct LevelRgb {
    int r, g, b;
};
// Frame and current level text, by level.
constexpr LevelRgb kBright[3] = {{0, 250, 154}, {255, 140, 0}, {255, 0, 0}};
// The neighbours' level text, by level.
constexpr LevelRgb kDim[3] = {{0, 128, 0}, {205, 133, 63}, {178, 34, 34}};
constexpr int kGrey = 136;

// The held keys that repeat, in the order of SelectMusic::repeats.
constexpr uint32_t kRepeatKeys[4] = {'A', 'D', 'W', 'S'};

// A text colour from 0-255 components, opaque.
Color4 ToColor(const LevelRgb& c) { return {c.r / 255.0f, c.g / 255.0f, c.b / 255.0f, 1.0f}; }

// Title and credit lines of an entry.
std::wstring Caption(const MusicEntry& e) { return e.title + L"\nMusic : " + e.credit; }

// The heading of an import that has ended.
std::wstring ImportHeading(const importer::ImportResult& result) {
    if (!result.failure.empty())
        return L"Nothing imported: " + platform::Utf8ToWide(result.failure);
    std::wstring heading = L"Imported " + std::to_wstring(result.imported) +
                           (result.imported == 1 ? L" song" : L" songs");
    if (result.skipped > 0) heading += L", " + std::to_wstring(result.skipped) + L" skipped";
    return heading;
}

}  // namespace

// Reads the list with its jackets checked, loads the frame and restores the last confirmed
// choice, the remembered order and grouping, and the player's marks.
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
    ViewRule rule = LoadSelectionRule();
    rule.level = level;
    browser.Reset(entries, PackReading(), GetPlayerProfile().stats, rule, index);
    index = browser.entry();
    random.seed(std::random_device{}());
    shownIndex = -1;
    drawnIndex = -1;
    countdown = 0;
    previewPhase = 0;
    return true;
}

// Moves the highlight and the level (or edits the search), then confirms, leaves, or runs the
// preview. While the search line is edited, or dropped songs are being imported, the keys
// that leave the screen do nothing.
Scene* SelectMusic::Update() {
    const KeyInput& keys = KeyInput::Get();
    SoundManager& sound = SoundManager::Get();
    TakeDrops();
    FollowImport();
    const bool typing = search.editing();
    if (typing)
        EditSearch(keys);
    else
        Browse(keys);
    if (!browser.empty()) index = browser.entry();
    const bool free = !typing && !drops.running();
    const MusicEntry& entry = entries[index];
    if (free && !browser.empty()) StepSongOffset(entry.title);
    if (free && !browser.empty() && keys.IsKeyPressed(kKeySpace) && entry.levels[level] >= 1) {
        sound.PlaySoundEffect(L"kira2.wav", 0.1f);
        sound.PlayMusic(L"", 0.0f);
        MusicChoice& choice = GetMusicChoice();
        choice.index = index;
        choice.title = entry.title;
        choice.level = std::to_wstring(level + 1);
        return new Game;
    }
    if (free && !browser.empty())
        if (Scene* watch = replayKey.Update(entry.title, level)) return watch;
    if (free && keys.IsKeyPressed('Q')) {
        sound.PlayMusic(L"", 0.0f);
        return new Title;
    }
    if (free && keys.IsKeyPressed('E')) {
        sound.PlayMusic(L"", 0.0f);
        return new ConfigS;
    }
    RunPreview();
    return nullptr;
}

// A and D step (A first, so both together stay), W and S change the level, each repeating
// while held; then the order, grouping, jumps and the search line.
void SelectMusic::Browse(const KeyInput& keys) {
    int32_t steps[4];
    for (int k = 0; k < 4; ++k)
        steps[k] = repeats[k].Steps(keys.IsKeyPressed(kRepeatKeys[k]),
                                    keys.state.IsKeyDown(kRepeatKeys[k]));
    if (steps[1] != steps[0]) browser.Step(steps[1] - steps[0]);
    ViewRule rule = browser.rule();
    const bool levelMoved = steps[2] != steps[3];
    if (levelMoved) level = ((level + steps[2] - steps[3]) % 3 + 3) % 3;
    rule.level = level;
    // Only the level's own order depends on the level.
    if (levelMoved && rule.order == SongOrder::kRating) Rearrange(rule, false);
    if (keys.IsKeyPressed('O')) rule.order = NextOrder(rule.order), Rearrange(rule, true);
    if (keys.IsKeyPressed('G')) rule.grouped = !rule.grouped, Rearrange(rule, true);
    if (keys.IsKeyPressed('Z')) browser.JumpGroup(-1);
    if (keys.IsKeyPressed('C')) browser.JumpGroup(1);
    if (keys.IsKeyPressed('R')) browser.JumpRandom(static_cast<uint32_t>(random()));
    if (keys.IsKeyPressed('F') || keys.IsKeyPressed(kKeySlash)) {
        search.Open();
        browser.PrepareSearch();
    }
}

// Typed characters, Backspace and Return go to the line; the held keys start over after it.
void SelectMusic::EditSearch(const KeyInput& keys) {
    for (KeyRepeat& repeat : repeats) repeat.Steps(false, false);
    const SearchLine::Change change =
        search.Edit(keys.typedText, keys.IsKeyPressed(platform::kVkBack),
                    keys.IsKeyPressed(platform::kVkReturn));
    if (change.closed)
        browser.SetSearch({});
    else if (change.text)
        browser.SetSearch(SearchWords(search.text()));
}

void SelectMusic::Rearrange(const ViewRule& rule, bool remember) {
    browser.SetRule(rule);
    if (remember) SaveSelectionRule(rule);
}

void SelectMusic::TakeDrops() {
    KeyInput& input = KeyInput::Get();
    if (input.droppedPaths.empty() || drops.running()) return;
    drops.Start(std::move(input.droppedPaths), std::filesystem::current_path().string(),
                ImportOptionsForContent());
    input.droppedPaths.clear();
    importHeading = L"Importing\u2026";
    importLines.clear();
    if (input.dropsSettleAtOnce) drops.Wait();
}

void SelectMusic::FollowImport() {
    if (!drops.running()) return;
    std::vector<std::string> lines;
    const bool ended = drops.Poll(lines);
    for (const std::string& line : lines)
        if (std::wstring shown = ShortImportLine(line); !shown.empty())
            importLines.push_back(std::move(shown));
    if (!ended) return;
    importHeading = ImportHeading(drops.result());
    if (!drops.result().titles.empty()) ShowImported();
}

// The whole list again (the search closed), on the first imported song that is listed.
void SelectMusic::ShowImported() {
    std::vector<MusicEntry> fresh;
    std::string error;
    if (!ReadMusicList(fresh, error)) {
        importLines.push_back(L"the music list cannot be read: " + platform::Utf8ToWide(error));
        return;
    }
    entries = std::move(fresh);
    search = SearchLine{};
    browser.Reset(entries, PackReading(), GetPlayerProfile().stats, browser.rule(), 0);
    for (const std::wstring& title : drops.result().titles) {
        int32_t found = -1;
        for (size_t i = 0; i < entries.size() && found < 0; ++i)
            if (entries[i].title == title) found = static_cast<int32_t>(i);
        if (found >= 0 && browser.Highlight(found)) break;
    }
    index = browser.entry();
}

// Starts the preview two ticks after the highlight settles, plays it for at most sixteen
// ticks, pauses three and starts it again. While no song matches the search it is silent.
void SelectMusic::RunPreview() {
    SoundManager& sound = SoundManager::Get();
    if (browser.empty()) {
        if (shownIndex != -1) sound.PlayMusic(L"", 0.0f);
        shownIndex = -1;
        return;
    }
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
    const int32_t entry = browser.EntryAt(step);
    return entries[entry >= 0 ? entry : index];
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

// The highlighted jacket, its two neighbours dimmed, and the frame in the level's colour; the
// frame alone while no song matches the search.
void SelectMusic::DrawSprites() {
    SpriteRenderer& sprites = SpriteRenderer::Get();
    const IntRect jacket{0, 0, 256, 256};
    const LevelRgb& bright = kBright[level];
    if (!browser.empty()) {
        PrepareJackets();
        if (jacketShown[1])
            sprites.DrawSprite({640, 10}, &jacket, 255, 0, {128, 0}, 255, 255, 255, 0, 1,
                               entries[index].title);
        if (jacketShown[0])
            sprites.DrawSprite({300, -90}, &jacket, 255, 0, {128, 0}, kGrey, kGrey, kGrey, 0, 1,
                               Neighbour(-1).title);
        if (jacketShown[2])
            sprites.DrawSprite({980, -90}, &jacket, 255, 0, {128, 0}, kGrey, kGrey, kGrey, 0, 1,
                               Neighbour(1).title);
    }
    sprites.DrawSprite({640, 270}, &jacket, 255, 0, {100, 0}, bright.r, bright.g, bright.b, 0, 1,
                       L"waku");
}

// The ten text blocks: the highlighted piece, the keys, both neighbours, help and high score
// (the song blocks left out while no song matches); then the added ones.
void SelectMusic::DrawTexts() {
    const Color4 white{1, 1, 1, 1};
    const Color4 grey = ToColor({kGrey, kGrey, kGrey});
    const MusicEntry& current = entries[index];
    const MusicEntry& previous = Neighbour(-1);
    const MusicEntry& next = Neighbour(1);
    const std::wstring rating = L"Level\n";
    const bool songs = !browser.empty();
    if (songs) {
        DrawTextBlock(L"\u266A \u266A \u266A\n" + Caption(current), {540, 300, 740, 900}, white);
        DrawTextBlock(rating + std::to_wstring(current.levels[level]), {540, 370, 740, 970},
                      ToColor(kBright[level]));
    }
    DrawTextBlock(L"A << ", {400, 350, 600, 950}, white);
    DrawTextBlock(L" >> D", {680, 350, 880, 950}, white);
    if (songs) {
        DrawTextBlock(Caption(previous), {200, 200, 400, 800}, grey);
        DrawTextBlock(rating + std::to_wstring(previous.levels[level]), {200, 260, 400, 860},
                      ToColor(kDim[level]));
        DrawTextBlock(Caption(next), {880, 200, 1080, 800}, grey);
        DrawTextBlock(rating + std::to_wstring(next.levels[level]), {880, 260, 1080, 860},
                      ToColor(kDim[level]));
    }
    DrawTextBlock(L"\"Space\" Key Play to Game\n\n\"Q\" Key Back Title\n\"E\" Key to ConfigMenu",
                  {540, 500, 740, 1100}, white);
    if (songs)
        DrawTextBlock(L"HiScore\n" + std::to_wstring(GetHighScore(current.title, level)),
                      {540, 420, 740, 1020}, white);
    if (songs) DrawSongOffset(current.title);
    DrawOverlay(OverlayNow());
    replayKey.DrawTexts();
}

PackReader SelectMusic::PackReading() const {
    return [this] { return PacksOfEntries(entries); };
}

OverlayView SelectMusic::OverlayNow() {
    OverlayView view;
    view.searchShown = search.shown();
    view.searchEditing = search.editing();
    view.searchText = search.text();
    view.place = browser.place() + 1;
    view.shown = browser.size();
    view.total = static_cast<int32_t>(entries.size());
    view.order = OrderLabel(browser.rule().order);
    view.grouped = browser.rule().grouped;
    if (!browser.empty()) {
        if (view.grouped) view.pack = browser.PackOf(index);
        view.stats = FindSongStats(entries[index].title);
    }
    view.level = level;
    view.importHeading = importHeading;
    view.importLines = &importLines;
    return view;
}
