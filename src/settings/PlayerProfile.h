// PlayerProfile: the signed-in account (name, password, best scores) and its save file
// "Save/" + name + ".svd" in code page 932. What an account earned is saved before anything
// signs it out or replaces it, and one account's records never reach another account's file.
// Depends on: settings/SaveFile.h, platform/Codepage.h, platform/FileSystem.h,
// platform/AtomicFile.h.
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
    // Scores made while no account was signed in, set aside while an account is signed in
    // (they are nobody's to write into that account's file) and back in records at sign-out.
    std::vector<ScoreRecord> guestRecords;
};

// The one process-wide account record.
PlayerProfile& GetPlayerProfile();
// Signs in: reads "Save/" + name + ".svd" and replaces name, password and records with it,
// after saving a signed-in account. False leaves the record as it was: no such file, an
// unreadable or malformed file (reported on stderr), or a signed-in account that could not
// be saved.
bool LoadProfile(const std::wstring& name);
// Writes the signed-in account atomically, making "Save" when missing; does nothing (true)
// without a name. False on failure, reported on stderr; the old file then stays whole.
bool SaveProfile();
// Signs out: saves an account that has a save file, then empties name and password; the
// records become the guest's scores again. A name without a save file (a sign-up left in the
// password entry) is dropped without creating a file.
void ClearProfile();
// True when an account of that name already has a save file.
bool ProfileExists(const std::wstring& name);
// Starts a new account under name, its password empty until the caller sets it. Refused
// (false, nothing changes) for an empty name, a name holding "/", or a name that already has a
// save file. A signed-in account is saved first (refused when that fails) and keeps its
// records; without one, the scores made so far become the new account's.
bool SignUpProfile(const std::wstring& name);
// Keeps the best score of a piece and level index; saves a signed-in account on a change.
void RecordHighScore(const std::wstring& music, int level, int score);
// The stored best of a piece and level index, 0 without a record.
int GetHighScore(const std::wstring& music, int level);
