// PlayerSongs: the presence check of SongFiles on the files found in one content folder,
// remembered with each file's size and change time.
#include "selection/PlayerSongs.h"

#include <sys/stat.h>

#include <cstdio>
#include <map>
#include <set>

#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "selection/SongFiles.h"

namespace {

// What was found for a song, and the state of the files it was found on.
struct Looked {
    std::string stamp;
    std::string problem;
};

// The paths looked at and their sizes and change times, as one string.
std::string StampOf(const std::vector<std::string>& paths) {
    std::string stamp;
    for (const std::string& path : paths) {
        struct stat info;
        stamp += path;
        if (::stat(path.c_str(), &info) == 0)
            stamp += ":" + std::to_string(info.st_size) + ":" +
                     std::to_string(info.st_mtim.tv_sec) + "." +
                     std::to_string(info.st_mtim.tv_nsec) + ":" + std::to_string(info.st_ino);
        stamp += '\n';
    }
    return stamp;
}

}  // namespace

std::string PlayerSongProblem(const MusicEntry& entry, size_t folder) {
    static std::map<std::pair<std::wstring, size_t>, Looked> looked;
    const std::string& base = platform::ContentFolders().at(folder);
    // Each file is looked up once, for the stamp and for the check that may follow.
    std::map<std::wstring, std::string> located;
    std::vector<std::string> paths;
    const LocateFile locate = [&](const std::wstring& relative) {
        auto [at, fresh] = located.try_emplace(relative);
        if (fresh) {
            std::string found = platform::FindInFolder(base, relative).path;
            at->second = found.empty() ? platform::ContentPathIn(base, relative) : std::move(found);
            paths.push_back(at->second);
        }
        return at->second;
    };
    // The files the check would read, then their stamp: unchanged files keep their verdict.
    std::string song;
    LocateSongFile(entry.title, locate, &song);
    locate(L"Data/Texture/" + entry.title + L".png");
    for (int level = 1; level <= 3; ++level)
        if (entry.levels[level - 1] >= 1)
            locate(L"Data/Music/" + entry.title + L"/" + std::to_wstring(level) + L".nsd");
    const std::string stamp = StampOf(paths);
    Looked& seen = looked[{entry.title, folder}];
    if (seen.stamp == stamp) return seen.problem;
    SongCheck check;
    check.depth = CheckDepth::kPresence;
    const std::vector<std::string> problems = SongProblems(entry, locate, check);
    seen = {stamp, problems.empty() ? "" : problems.front()};
    return seen.problem;
}

void ReportLeftOutSong(const std::wstring& title, const std::string& reason) {
    static std::set<std::pair<std::wstring, std::string>> reported;
    if (!reported.insert({title, reason}).second) return;
    if (title.empty())
        std::fprintf(stderr, "lyrandel: left out of the selection: %s\n", reason.c_str());
    else
        std::fprintf(stderr, "lyrandel: song \"%s\" left out of the selection: %s\n",
                     platform::WideToUtf8(title).c_str(), reason.c_str());
}
