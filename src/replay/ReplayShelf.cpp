// ReplayShelf: account folders, file names, the keeping rule and the best run of a chart.
#include "replay/ReplayShelf.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <map>
#include <tuple>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"
#include "replay/ReplayFile.h"

namespace fs = std::filesystem;

namespace {

constexpr const char* kReplaysFolder = "Replays";
constexpr const char* kGuestFolder = "guest";
constexpr const char* kEnding = ".lrp";
// Numbered names tried for runs that end in the same second.
constexpr int kMaxSameSecond = 1000;

// Later runs first: by date, then by name.
bool Later(const ShelvedRun& a, const ShelvedRun& b) {
    return std::tie(a.date, a.path) > std::tie(b.date, b.path);
}

// What the keeping rule needs of the replay stored at path.
ShelvedRun Summary(const std::string& path, const Replay& replay) {
    return {path,         replay.date,        replay.title,
            replay.level, replay.chartDigest, replay.outcome.score};
}

// Reports a replay file that cannot be read in one line and sets it aside.
void SetDamagedAside(const std::string& path, const std::string& error) {
    std::string aside, asideError;
    if (platform::SetFileAside(path, &aside, &asideError))
        std::fprintf(stderr, "lyrandel: %s (the file is kept as %s)\n", error.c_str(),
                     aside.c_str());
    else
        std::fprintf(stderr, "lyrandel: %s (%s)\n", error.c_str(), asideError.c_str());
}

// True for the temporary file of a write a crash cut short.
bool IsLeftover(const fs::path& path) {
    const std::string name = path.filename().string();
    return name.size() > 4 && name.compare(name.size() - 4, 4, ".tmp") == 0;
}

// What one pass over a folder does with each readable replay: its summary and the replay itself
// (which the visitor may take).
using RunVisitor = std::function<void(const ShelvedRun& run, Replay& replay)>;

// One pass over a folder: every replay file but the one named skip is read and visited, one at a
// time; damaged ones are reported and set aside. With removeLeftovers, the temporary files of
// writes a crash cut short go too: the player's folder is used by one game at a time, so no
// other write is under way.
void VisitFolder(const std::string& folder, const std::string& skip, bool removeLeftovers,
                 const RunVisitor& visit) {
    std::error_code code;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, code)) {
        if (removeLeftovers && IsLeftover(entry.path())) {
            std::error_code ignored;
            fs::remove(entry.path(), ignored);
            continue;
        }
        const std::string path = entry.path().string();
        if (entry.path().extension() != kEnding || path == skip || !entry.is_regular_file(code))
            continue;
        Replay replay;
        std::string error;
        if (!ReadReplayFile(path, &replay, &error)) {
            SetDamagedAside(path, error);
            continue;
        }
        visit(Summary(path, replay), replay);
    }
}

// A free file name for a run of date in folder: "YYYYMMDD-HHMMSS[-N].lrp".
std::string FreeName(const std::string& folder, const std::string& date) {
    std::string stem;
    for (char c : date)
        if (c >= '0' && c <= '9') stem += c;
    if (stem.size() == 14) stem.insert(8, "-");
    for (int n = 1; n <= kMaxSameSecond; ++n) {
        const std::string path =
            folder + "/" + stem + (n == 1 ? "" : "-" + std::to_string(n)) + kEnding;
        if (!platform::PathExists(path)) return path;
    }
    return "";
}

// Makes "Replays" and the account's folder, both private.
bool MakeFolders(const std::string& folder, std::string* error) {
    return platform::EnsurePrivateFolder(kReplaysFolder, error) &&
           platform::EnsurePrivateFolder(folder, error);
}

}  // namespace

std::string ReplayFolder(const std::wstring& account) {
    if (account.empty()) return std::string(kReplaysFolder) + "/" + kGuestFolder;
    // A name is one folder inside "Replays", never a hidden one or a way out of it.
    std::string name = platform::WideToUtf8(account);
    std::replace(name.begin(), name.end(), '/', '_');
    if (name[0] == '.') name.insert(0, "_");
    return std::string(kReplaysFolder) + "/" + name;
}

std::string UtcDateNow() {
    const std::time_t now = std::chrono::system_clock::to_time_t(std::chrono::system_clock::now());
    std::tm utc{};
    gmtime_r(&now, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::vector<size_t> RunsToDrop(const std::vector<ShelvedRun>& runs, size_t keepRecent) {
    std::vector<size_t> order(runs.size());
    for (size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::sort(order.begin(), order.end(),
              [&](size_t a, size_t b) { return Later(runs[a], runs[b]); });
    // The best of each chart: the highest score, and of equal scores the earliest run.
    std::map<std::tuple<std::wstring, int32_t, std::string>, size_t> best;
    for (auto it = order.rbegin(); it != order.rend(); ++it) {
        const ShelvedRun& run = runs[*it];
        auto [slot, fresh] = best.try_emplace({run.title, run.level, run.chartDigest}, *it);
        if (!fresh && run.score > runs[slot->second].score) slot->second = *it;
    }
    std::vector<bool> keep(runs.size(), false);
    for (size_t i = 0; i < order.size() && i < keepRecent; ++i) keep[order[i]] = true;
    for (const auto& [chart, index] : best) keep[index] = true;
    std::vector<size_t> drop;
    for (size_t i = 0; i < runs.size(); ++i)
        if (!keep[i]) drop.push_back(i);
    return drop;
}

bool ShelveReplay(const Replay& replay, std::string* path, std::string* error) {
    const std::string folder = ReplayFolder(replay.account);
    if (!MakeFolders(folder, error)) return false;
    const std::string file = FreeName(folder, replay.date);
    if (file.empty()) {
        if (error) *error = "cannot name a new replay in " + folder + ": too many in one second";
        return false;
    }
    if (!platform::WriteFileAtomically(file, FormatReplay(replay), error, 0600)) return false;
    if (path) *path = file;
    // The new run's summary is the replay in hand; the others' are read from their files.
    std::vector<ShelvedRun> runs{Summary(file, replay)};
    VisitFolder(folder, file, true,
                [&runs](const ShelvedRun& run, Replay&) { runs.push_back(run); });
    for (size_t index : RunsToDrop(runs)) {
        std::error_code ignored;  // a run that stays is only a file too many
        fs::remove(runs[index].path, ignored);
    }
    return true;
}

bool FindBestReplay(const std::wstring& account, const std::wstring& title, int32_t level,
                    const std::string& chartDigest, Replay* replay) {
    bool found = false;
    ShelvedRun bestRun;
    VisitFolder(ReplayFolder(account), "", false, [&](const ShelvedRun& run, Replay& read) {
        if (run.title != title || run.level != level || run.chartDigest != chartDigest) return;
        const bool better = !found || run.score > bestRun.score ||
                            (run.score == bestRun.score && Later(bestRun, run));
        if (!better) return;
        found = true;
        bestRun = run;
        *replay = std::move(read);
    });
    return found;
}
