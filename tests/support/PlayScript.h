// PlayScript: builds headless key scripts that walk the menus and play a chart, each note
// pressed in the update chosen by replaying the game's own single-precision note motion.
// Depends on: gameplay/ChartReader.h.
#pragma once

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "gameplay/ChartReader.h"

// How a scripted player presses a note: at its best update, or offset by some updates.
struct PressPlan {
    // Updates after the best one (negative: earlier) per note index of the lane, if any.
    std::map<size_t, int> redOffset, blueOffset;
    // Notes of a lane left unpressed.
    std::vector<size_t> redSkip, blueSkip;
};

class PlayScript {
  public:
    // Appends "F press KEY" at the next free frame (two frames per press) and returns F.
    uint64_t Press(const std::string& key);
    // Presses each character of text (letters and digits) in turn.
    void Type(const std::string& text);
    // Types UTF-8 text through the text channel, one character an update ("F type TEXT").
    void TypeText(const std::string& text);
    // Drops a file or folder on the window ("F drop PATH"), then leaves a frame.
    void Drop(const std::string& path);
    // Leaves some frames free.
    void Wait(uint64_t frames) { next_ += frames; }
    // From the configuration menu's "Title": highlights "Account".
    void ToAccountItem();
    // In the configuration menu: from "Account" back to "Title" (backward, past the specified
    // items, so the screens after "Account" change nothing).
    void AccountToTitle();
    // From the title: signs up name with password, and returns to the title.
    void SignUpFromTitle(const std::string& name, const std::string& password);
    // From the title: signs in as name with password, and returns to the title.
    void SignInFromTitle(const std::string& name, const std::string& password);
    // From the title: opens the selection, highlights entry index and level (0-based), and
    // confirms; returns the frame whose update hands over to the game.
    uint64_t SelectFromTitle(int index, int level);
    // Plays the chart from the game's start frame and waits for the result to finish; then
    // Space returns to the selection. Returns the number of notes pressed.
    size_t Play(uint64_t gameStartFrame, const ChartContent& chart, const PressPlan& plan = {});
    // Adds any command at a frame ("down K", "up K", "press K", a press timed within its frame,
    // "press SPACE @7.5").
    void At(uint64_t frame, const std::string& command) { lines_.emplace(frame, command); }
    // Adds a screenshot after frame.
    void Shot(uint64_t frame, const std::string& path);
    // The script text, ending in quit a few frames after the last command.
    std::string Text() const;
    uint64_t nextFrame() const { return next_; }

  private:
    std::multimap<uint64_t, std::string> lines_;
    uint64_t next_ = 1;
};

// The update of a run (1 = the first update of the game scene) in which a note of that
// initial distance is nearest the hit line and can be judged.
int64_t BestUpdate(float distance, int32_t bpm);
