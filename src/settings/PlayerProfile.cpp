// PlayerProfile: placeholder until the save files land: scores live in memory only.
#include "settings/PlayerProfile.h"

PlayerProfile& GetPlayerProfile() {
    static PlayerProfile profile;
    return profile;
}
bool LoadProfile(const std::wstring&) { return false; }
bool SaveProfile() { return true; }
void ClearProfile() { GetPlayerProfile() = PlayerProfile{}; }
bool ProfileExists(const std::wstring&) { return false; }
void RecordHighScore(const std::wstring& music, int level, int score) {
    for (auto& r : GetPlayerProfile().records)
        if (r.music == music) {
            if (score > r.best[level]) r.best[level] = score;
            return;
        }
    ScoreRecord record{music};
    record.best[level] = score;
    GetPlayerProfile().records.push_back(record);
}
int GetHighScore(const std::wstring& music, int level) {
    for (auto& r : GetPlayerProfile().records)
        if (r.music == music) return r.best[level];
    return 0;
}
