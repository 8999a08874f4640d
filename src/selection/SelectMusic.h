// SelectMusic: the music selection screen: the highlighted piece's jacket between its two
// neighbours, a recurring preview, the level choice, and the hand-over to the gameplay. Around
// that: held keys repeat, a search line, orders, grouping by pack with jumps, a random jump,
// the marks of what was played, and the import of songs dropped on the window.
// Depends on: shell/Scene.h, selection (MusicList, MusicChoice, SongBrowser, SearchLine,
// KeyRepeat, PacksFile, SelectionFile, SelectionOverlay, DropImport), services,
// audio/SoundManager, settings/PlayerProfile and PlayStats.
#pragma once

#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "selection/DropImport.h"
#include "selection/KeyRepeat.h"
#include "selection/MusicList.h"
#include "selection/ReplayShortcut.h"
#include "selection/SearchLine.h"
#include "selection/SelectionOverlay.h"
#include "selection/SongBrowser.h"
#include "shell/Scene.h"

class KeyInput;

class SelectMusic : public Scene {
  public:
    bool Initialize() override;
    Scene* Update() override;
    void DrawSprites() override;
    void DrawTexts() override;

  private:
    // Advances the preview clock: card sound on a new highlight, then 61-update ticks.
    void RunPreview();
    // The entry step places away from the highlighted one among the songs shown, wrapping.
    const MusicEntry& Neighbour(int step) const;
    // Makes the three shown jackets ready and, in a frame that has no other jacket or move to
    // deal with, decodes one ahead; records which can be drawn.
    void PrepareJackets();
    // The keys of the songs shown: steps and level (held keys repeat), order, grouping,
    // jumps, and F or "/" to open the search line.
    void Browse(const KeyInput& keys);
    // The search line's editing, while it takes the keys.
    void EditSearch(const KeyInput& keys);
    // A new order, grouping or level of the arrangement, the highlighted song kept.
    void Rearrange(const ViewRule& rule, bool remember);
    // Starts importing dropped files; on the simulated clock the import ends at once.
    void TakeDrops();
    // Takes the import's new lines and, when it has ended, shows its songs.
    void FollowImport();
    // Reads the list again after an import and highlights its first song.
    void ShowImported();
    // What the overlay shows this frame.
    OverlayView OverlayNow();
    // Reads the packs of the entries, when the browser first needs them.
    PackReader PackReading() const;

    std::vector<MusicEntry> entries;
    // The highlight at the end of the previous update; -1 right after Initialize.
    int32_t shownIndex = -1;
    // The highlighted entry's position in entries (kept while no song matches the search).
    int32_t index = 0;
    // Difficulty level 0, 1 or 2.
    int32_t level = 0;
    // Updates left in the current preview tick.
    int32_t countdown = 0;
    // Preview schedule: -2 and -3 wait, 15 down to 0 play, -1 to -3 pause, -4 restarts.
    int32_t previewPhase = 0;
    // Whether the previous, highlighted and next jackets can be drawn this frame.
    bool jacketShown[3] = {false, false, false};
    // The highlight of the previous draw; -1 before the first.
    int32_t drawnIndex = -1;
    // V: the best replay of the chosen level.
    ReplayShortcut replayKey;

    SongBrowser browser;
    SearchLine search;
    // A, D, W and S held.
    KeyRepeat repeats[4];
    std::minstd_rand random;
    DropImport drops;
    // The import of this visit: its heading (empty before any) and its short report lines.
    std::wstring importHeading;
    std::vector<std::wstring> importLines;
};
