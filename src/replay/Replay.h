// Replay: one recorded run, enough to play it again exactly: the chart it was played on (title,
// level, the digest of the chart file, the size of the song file, and the tempo and length the
// chart gave), the settings that judge it (the hit-gap widening, the audio offsets, the lane
// keys), who played it and when, its outcome, and the lane-key events of each update.
// Depends on: settings/KeyBindings.h (the lane slots).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "settings/KeyBindings.h"

// A lane key going down or up before an update (1 = the first update of the run).
struct ReplayKeyEvent {
    int64_t update = 0;
    uint32_t key = 0;  // one of the replay's lane keys
    bool down = false;
    // Milliseconds into the update at which the key moved, where the run knows it.
    std::optional<float> ms;

    bool operator==(const ReplayKeyEvent&) const = default;
};

// What the run ended with: the final score (bonus included), the longest combo and the grades.
struct ReplayOutcome {
    int32_t score = 0;
    int32_t maxCombo = 0;
    int32_t perfect = 0, great = 0, ok = 0, bad = 0, miss = 0;

    bool operator==(const ReplayOutcome&) const = default;
};

struct Replay {
    std::string game;          // version of the game that recorded it
    std::wstring title;        // the song, as the music list names it
    int32_t level = 1;         // 1 to 3
    std::string chartDigest;   // SHA-256 of the chart file, 64 hex digits
    int64_t songSize = -1;     // bytes of the song file; -1 when there was none
    int32_t bpm = 0;           // the chart's tempo as the run read it
    int32_t second = 0;        // the chart's play length as the run read it
    float hitGap = 0;          // the widening of the judgement windows
    float globalOffsetMs = 0;  // audio offsets (0 until the game has them)
    float songOffsetMs = 0;
    LaneKeys keys = kDefaultLaneKeys;  // the lane keys the events name, in lane-slot order
    std::wstring account;              // who played; empty for a guest
    std::string date;                  // UTC, "YYYY-MM-DDTHH:MM:SSZ"
    ReplayOutcome outcome;
    std::vector<ReplayKeyEvent> events;  // in update order

    bool operator==(const Replay&) const = default;
};
