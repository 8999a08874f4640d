// PlayerProfile: the signed-in account (name, password, best scores) and its save file
// "Save/" + name + ".svd" in code page 932. What an account earned is saved before anything
// signs it out or replaces it, and one account's records never reach another account's file.
// Only an account whose password was typed right in this run, or that was just made, is ever
// written: a sign-in or sign-up left before its password leaves the files as they were.
// Depends on: settings/SaveFile.h, platform/Codepage.h, platform/files/FileSystem.h,
// platform/files/AtomicFile.h.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "settings/PlayStatsFile.h"

struct ScoreRecord {
    std::wstring music;
    int32_t best[3] = {0, 0, 0};
};

// How far the account named in the profile has come.
enum class AccountState {
    kNone,       // no account is named
    kSigningIn,  // its save file was read; the password has not been typed right yet
    kSigningUp,  // a free name was taken; the password has not been confirmed yet
    kSignedIn,   // the password was typed right in this run, or the sign-up was finished
};

struct PlayerProfile {
    AccountState state = AccountState::kNone;
    std::wstring name;
    std::wstring password;
    std::vector<ScoreRecord> records;
    // Scores made while no account was signed in, set aside while an account is signed in
    // (they are nobody's to write into that account's file) and back in records at sign-out.
    std::vector<ScoreRecord> guestRecords;
    // Play counts and marks (settings/PlayStats.h), moved with the records: the account's from
    // "Save/" + name + ".stats", or the guest's, kept in memory only.
    std::vector<SongStats> stats;
    std::vector<SongStats> guestStats;
};

// The one process-wide account record.
PlayerProfile& GetPlayerProfile();
// Starts a sign-in: reads "Save/" + name + ".svd" and replaces name, password and records with
// it (state kSigningIn), after saving a signed-in account. False leaves the record as it was:
// no such file, an unreadable or malformed file (reported on stderr), or a signed-in account
// that could not be saved.
bool LoadProfile(const std::wstring& name);
// Ends a sign-in: true (state kSignedIn) when password is the account's; false changes nothing
// and the caller signs out.
bool ConfirmSignIn(const std::wstring& password);
// Writes a signed-in account atomically, making "Save" when missing: its save file, then its
// statistics file. Does nothing (true) without one: an account still waiting for its password
// is not written. False on failure, reported on stderr as "lyrandel: cannot save account NAME
// to Save/NAME.svd: why"; the old file then stays whole.
bool SaveProfile();
// Signs out: saves a signed-in account, then empties name and password; the records become
// the guest's scores again. An account still waiting for its password is dropped without a
// write: a sign-in's file stays byte for byte as it was, and a sign-up leaves no file.
void ClearProfile();
// True when an account of that name already has a save file.
bool ProfileExists(const std::wstring& name);
// Starts a new account under name (state kSigningUp, password empty). Refused (false, nothing
// changes) for an empty name, a name holding "/", or a name that already has a save file. A
// signed-in account is saved first (refused when that fails) and keeps its records; without
// one, the scores made so far become the new account's.
bool SignUpProfile(const std::wstring& name);
// Ends a sign-up: sets the password, signs the account in and writes it at once, so the name
// is taken from then on. False when it is not in a sign-up or the write failed (reported).
bool FinishSignUp(const std::wstring& password);
// Keeps the best score of a piece and level index; saves a signed-in account on a change.
void RecordHighScore(const std::wstring& music, int level, int score);
// Keeps the best score in memory only; true when it changed.
bool KeepHighScore(const std::wstring& music, int level, int score);
// The stored best of a piece and level index, 0 without a record.
int GetHighScore(const std::wstring& music, int level);
