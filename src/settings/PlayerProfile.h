// PlayerProfile: the signed-in account (name, password, best scores) and its save file
// "Save/" + name + ".svd" in code page 932.
// Depends on: platform/Codepage.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct ScoreRecord {
    std::wstring music;
    int32_t best[3] = {0, 0, 0};
};

struct PlayerProfile {
    std::wstring name;
    std::wstring password;
    std::vector<ScoreRecord> records;
};

// The one process-wide account record.
PlayerProfile& GetPlayerProfile();
// Signs in: reads "Save/" + name + ".svd"; false leaves the record as it was.
bool LoadProfile(const std::wstring& name);
// Writes the signed-in account atomically; does nothing without a name. False on failure.
bool SaveProfile();
// Signs out: empties name, password and records.
void ClearProfile();
// True when an account of that name already has a save file.
bool ProfileExists(const std::wstring& name);
// Keeps the best score of a piece and level index; saves a signed-in account on a change.
void RecordHighScore(const std::wstring& music, int level, int score);
// The stored best of a piece and level index, 0 without a record.
int GetHighScore(const std::wstring& music, int level);
