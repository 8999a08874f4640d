// PlayerProfile: sign-in, sign-up, sign-out and score keeping over the save files.
#include "settings/PlayerProfile.h"

#include <cstdio>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "settings/PlayStats.h"
#include "settings/SaveFile.h"

namespace {

constexpr const char* kSaveFolder = "Save";

// "Save/" + name + ".svd" as UTF-8 bytes for the file system.
std::string SavePath(const std::wstring& name) {
    return std::string(kSaveFolder) + "/" + platform::WideToUtf8(name) + ".svd";
}

// A name that can be a file name inside "Save": not empty, no folder separator, no NUL.
bool UsableName(const std::wstring& name) {
    return !name.empty() && name.find(L'/') == std::wstring::npos &&
           name.find(L'\0') == std::wstring::npos;
}

// One line on stderr with the program's prefix; the game has no other channel for these.
void Report(const std::string& message) { std::fprintf(stderr, "lyrandel: %s\n", message.c_str()); }

// Reads and checks a save file; false (reported unless the file is simply missing) on failure.
bool ReadSaveFile(const std::string& path, SaveFileContent* content) {
    std::string bytes;
    std::string error;
    switch (platform::ReadWholeFile(path, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return false;
        case platform::ReadResult::kFailed:
            Report(error);
            return false;
        case platform::ReadResult::kOk:
            break;
    }
    const auto text = platform::Cp932ToWide(bytes);
    if (!text) {
        Report(path + ": not valid code page 932 text");
        return false;
    }
    if (ParseSaveText(*text, content, &error)) return true;
    Report(path + ":" + error);
    return false;
}

// The first record of that key, or nullptr.
ScoreRecord* FindRecord(std::vector<ScoreRecord>& records, const std::wstring& music) {
    for (ScoreRecord& r : records)
        if (r.music == music) return &r;
    return nullptr;
}

}  // namespace

PlayerProfile& GetPlayerProfile() {
    static PlayerProfile profile;
    return profile;
}

bool LoadProfile(const std::wstring& name) {
    if (!UsableName(name)) return false;
    const std::string path = SavePath(name);
    SaveFileContent content;
    if (!ReadSaveFile(path, &content)) return false;
    PlayerProfile& profile = GetPlayerProfile();
    if (profile.state == AccountState::kSignedIn) {
        if (!SaveProfile()) {
            Report("sign-in to " + platform::WideToUtf8(name) +
                   " refused: " + platform::WideToUtf8(profile.name) + " could not be saved first");
            return false;
        }
    } else {
        ClearProfile();  // an account still waiting for its password is dropped unwritten
        profile.guestRecords = std::move(profile.records);
        profile.guestStats = std::move(profile.stats);
    }
    profile.state = AccountState::kSigningIn;
    profile.name = name;
    profile.password = std::move(content.password);
    profile.records = std::move(content.records);
    LoadStatsFile(name, profile.stats);
    return true;
}

bool ConfirmSignIn(const std::wstring& password) {
    PlayerProfile& profile = GetPlayerProfile();
    if (profile.state != AccountState::kSigningIn || password != profile.password) return false;
    profile.state = AccountState::kSignedIn;
    return true;
}

bool SaveProfile() {
    const PlayerProfile& profile = GetPlayerProfile();
    // A sign-in not yet proven by its password must not rewrite the file it read (its line
    // ends, leading zeros and comments would go), and a sign-up not finished makes no file.
    if (profile.name.empty() || profile.state != AccountState::kSignedIn) return true;
    const std::string shownName = platform::WideToUtf8(profile.name);
    if (!UsableName(profile.name)) {
        Report("cannot save account \"" + shownName + "\": the name cannot be a file name");
        return false;
    }
    const std::string path = SavePath(profile.name);
    const std::string failure = "cannot save account " + shownName + " to " + path + ": ";
    std::string bytes;
    std::string error;
    if (!FormatSaveBytes({profile.password, profile.records}, &bytes, &error)) {
        Report(failure + error + "; its old save file stays");
        return false;
    }
    // The file holds the password in plain text: private to the player, like its folder.
    if (!platform::EnsurePrivateFolder(kSaveFolder, &error) ||
        !platform::WriteFileAtomically(path, bytes, &error, 0600)) {
        Report(failure + error);
        return false;
    }
    // An account that never finished a run has no statistics file.
    if (!profile.stats.empty() && !SaveStatsFile(profile.name, profile.stats, &error)) {
        Report("cannot save the play statistics of " + shownName + " to " +
               StatsPath(profile.name) + ": " + error);
        return false;
    }
    return true;
}

void ClearProfile() {
    PlayerProfile& profile = GetPlayerProfile();
    switch (profile.state) {
        case AccountState::kSignedIn:
            // The account's records are its own and go to its file, not to the guest.
            SaveProfile();
            profile.records = std::move(profile.guestRecords);
            profile.stats = std::move(profile.guestStats);
            break;
        case AccountState::kSigningIn:
            // The records came from a file that stays as it is.
            profile.records = std::move(profile.guestRecords);
            profile.stats = std::move(profile.guestStats);
            break;
        case AccountState::kSigningUp:
        case AccountState::kNone:
            // No account came into being: whatever is in memory stays the guest's.
            for (ScoreRecord& r : profile.guestRecords) profile.records.push_back(std::move(r));
            MergeStats(profile.stats, profile.guestStats);
            break;
    }
    profile.guestRecords.clear();
    profile.guestStats.clear();
    profile.state = AccountState::kNone;
    profile.name.clear();
    profile.password.clear();
}

bool ProfileExists(const std::wstring& name) {
    return UsableName(name) && platform::PathExists(SavePath(name));
}

bool SignUpProfile(const std::wstring& name) {
    if (!UsableName(name) || ProfileExists(name)) return false;
    PlayerProfile& profile = GetPlayerProfile();
    if (profile.state == AccountState::kSignedIn) {
        if (!SaveProfile()) return false;
        profile.records.clear();
        profile.stats.clear();
    } else {
        ClearProfile();  // an account still waiting for its password is dropped unwritten
    }
    profile.state = AccountState::kSigningUp;
    profile.name = name;
    profile.password.clear();
    return true;
}

bool FinishSignUp(const std::wstring& password) {
    PlayerProfile& profile = GetPlayerProfile();
    if (profile.state != AccountState::kSigningUp) return false;
    profile.password = password;
    profile.state = AccountState::kSignedIn;
    return SaveProfile();
}

bool KeepHighScore(const std::wstring& music, int level, int score) {
    PlayerProfile& profile = GetPlayerProfile();
    ScoreRecord* record = FindRecord(profile.records, music);
    if (record == nullptr) {
        profile.records.push_back(ScoreRecord{music});
        record = &profile.records.back();
        record->best[level] = score;
    } else if (record->best[level] < score) {
        record->best[level] = score;
    } else {
        return false;
    }
    return true;
}

void RecordHighScore(const std::wstring& music, int level, int score) {
    // Saved at once, so a crash later in the session loses nothing.
    if (KeepHighScore(music, level, score)) SaveProfile();
}

int GetHighScore(const std::wstring& music, int level) {
    ScoreRecord* record = FindRecord(GetPlayerProfile().records, music);
    return record ? record->best[level] : 0;
}
