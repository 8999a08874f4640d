// SourceScan: folder walks with sorted entries and no links followed, and loose name matching.
#include "import/SourceScan.h"

#include <algorithm>
#include <set>

namespace importer {

namespace fs = std::filesystem;

namespace {

// Folders deeper than this are not searched (a pack of packs is two or three levels).
constexpr int kMaxDepth = 16;

// ASCII letters made small.
std::string Lower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The entries of a folder, sorted by name; links are left out.
std::vector<fs::directory_entry> SortedEntries(const fs::path& folder) {
    std::vector<fs::directory_entry> entries;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code)) {
        if (it->is_symlink(code)) continue;
        entries.push_back(*it);
    }
    std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) {
        return a.path().filename() < b.path().filename();
    });
    return entries;
}

// Adds the sources of one folder and of its sub-folders.
void ScanFolder(const fs::path& folder, int depth, std::vector<SongSource>& sources) {
    const std::vector<fs::directory_entry> entries = SortedEntries(folder);
    fs::path sm, ssc;
    SongSource beatmaps{SourceKind::kBeatmaps, folder, {}};
    std::vector<fs::path> archives, folders;
    std::error_code code;
    for (const fs::directory_entry& e : entries) {
        if (e.is_directory(code)) {
            folders.push_back(e.path());
            continue;
        }
        if (!e.is_regular_file(code)) continue;
        const std::string ext = LowerExtension(e.path());
        if (ext == "ssc" && ssc.empty())
            ssc = e.path();
        else if (ext == "sm" && sm.empty())
            sm = e.path();
        else if (ext == "osu")
            beatmaps.beatmaps.push_back(e.path());
        else if (ext == "osz" || ext == "zip")
            archives.push_back(e.path());
    }
    // One simfile a folder: the newer format holds everything the older one does.
    if (!ssc.empty() || !sm.empty())
        sources.push_back({SourceKind::kSimfile, ssc.empty() ? sm : ssc, {}});
    if (!beatmaps.beatmaps.empty()) sources.push_back(beatmaps);
    for (const fs::path& a : archives) sources.push_back({SourceKind::kArchive, a, {}});
    if (depth < kMaxDepth)
        for (const fs::path& f : folders) ScanFolder(f, depth + 1, sources);
}

// True when a name component matches the wanted one, letter case aside.
bool SameName(const std::string& a, const std::string& b) { return Lower(a) == Lower(b); }

}  // namespace

std::string LowerExtension(const fs::path& path) {
    std::string ext = path.extension().string();
    if (!ext.empty() && ext[0] == '.') ext.erase(0, 1);
    return Lower(ext);
}

bool FindSources(const fs::path& path, std::vector<SongSource>& sources, std::string& problem) {
    std::error_code code;
    const fs::file_status status = fs::status(path, code);
    if (code || !fs::exists(status)) {
        problem = "no such file or folder";
        return false;
    }
    if (fs::is_directory(status)) {
        ScanFolder(path, 0, sources);
        return true;
    }
    const std::string ext = LowerExtension(path);
    if (ext == "sm" || ext == "ssc")
        sources.push_back({SourceKind::kSimfile, path, {}});
    else if (ext == "osu")
        sources.push_back({SourceKind::kBeatmaps, path.parent_path(), {path}});
    else if (ext == "osz" || ext == "zip")
        sources.push_back({SourceKind::kArchive, path, {}});
    else {
        problem = "not a .sm, .ssc, .osu, .osz or .zip file, nor a folder";
        return false;
    }
    return true;
}

fs::path FindInFolder(const fs::path& folder, const std::string& name) {
    std::string clean = name;
    std::replace(clean.begin(), clean.end(), '\\', '/');
    if (clean.empty() || clean[0] == '/') return {};
    fs::path at = folder;
    size_t start = 0;
    while (start < clean.size()) {
        size_t end = clean.find('/', start);
        if (end == std::string::npos) end = clean.size();
        const std::string part = clean.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".") continue;
        if (part == "..") return {};
        std::error_code code;
        if (fs::exists(at / part, code) && !fs::is_symlink(at / part, code)) {
            at /= part;
            continue;
        }
        fs::path match;
        for (const fs::directory_entry& e : SortedEntries(at))
            if (SameName(e.path().filename().string(), part)) {
                match = e.path();
                break;
            }
        if (match.empty()) return {};
        at = match;
    }
    std::error_code code;
    return at != folder && fs::is_regular_file(at, code) ? at : fs::path();
}

std::vector<fs::path> AudioFilesIn(const fs::path& folder) {
    static const std::set<std::string> kAudio = {"ogg", "oga", "opus", "flac", "mp3", "wav"};
    std::vector<fs::path> files;
    std::error_code code;
    for (const fs::directory_entry& e : SortedEntries(folder))
        if (e.is_regular_file(code) && kAudio.count(LowerExtension(e.path())))
            files.push_back(e.path());
    return files;
}

std::vector<fs::path> NamedPicturesIn(const fs::path& folder) {
    static const std::vector<std::vector<std::string>> kWords = {
        {"jacket", "cover"}, {"bg", "background"}, {"bn", "banner"}};
    std::vector<fs::path> found;
    std::error_code code;
    const std::vector<fs::directory_entry> entries = SortedEntries(folder);
    for (const std::vector<std::string>& words : kWords)
        for (const fs::directory_entry& e : entries) {
            const std::string ext = LowerExtension(e.path());
            if (!e.is_regular_file(code) || (ext != "png" && ext != "jpg" && ext != "jpeg"))
                continue;
            const std::string stem = Lower(e.path().stem().string());
            for (const std::string& w : words)
                if (stem == w || stem.find(w) != std::string::npos) {
                    found.push_back(e.path());
                    break;
                }
        }
    return found;
}

bool IsSongFileName(const std::string& name) {
    static const std::set<std::string> kKept = {"sm",   "ssc", "osu", "ogg", "oga", "opus",
                                                "flac", "mp3", "wav", "png", "jpg", "jpeg"};
    return kKept.count(LowerExtension(fs::path(name))) != 0;
}

}  // namespace importer
