// DirectChoice: the first entry of the music list with that exact title, and a playable level.
#include "selection/DirectChoice.h"

#include <vector>

#include "platform/Codepage.h"
#include "selection/MusicChoice.h"
#include "selection/MusicList.h"

bool ChooseDirectly(const std::wstring& title, int level, std::string& error) {
    std::vector<MusicEntry> entries;
    if (!ReadMusicList(entries, error)) return false;
    const std::string quoted = "\"" + platform::WideToUtf8(title) + "\"";
    for (size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].title != title) continue;
        const int32_t rating = entries[i].levels[level - 1];
        if (rating < 1) {
            error = "level " + std::to_string(level) + " of " + quoted +
                    " cannot be played (rated " + std::to_string(rating) + " in " + kMusicListPath +
                    ")";
            return false;
        }
        MusicChoice& choice = GetMusicChoice();
        choice.index = static_cast<int32_t>(i);
        choice.title = title;
        choice.level = std::to_wstring(level);
        return true;
    }
    error = "no song titled " + quoted + " in " + kMusicListPath;
    return false;
}
