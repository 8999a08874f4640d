// SongStore: the lock, the staging names, what interrupted imports left, and the title choice.
// The commits are in SongCommit.cpp.
#include "import/SongStore.h"

#include <unistd.h>

#include "import/ReservedTitles.h"
#include "import/SongTitle.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"
#include "selection/PacksFile.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// Every staging name starts so. "[" ends a title in the music list, so no song can have it.
constexpr const char* kStagingPrefix = "[import ";
// The ending of a pending note: a new song put in place before its list entry.
constexpr const char* kPendingEnding = " pending]";
// Staging names of older versions, which a title could also have: cleared only when unlisted.
constexpr const char* kOldStagingPrefix = ".import-";
// The lock of the importers of one data folder.
constexpr const char* kLockName = "lyrandel-import.lock";
// Titles tried before giving up on " (n)".
constexpr int kMaxNumberedTitles = 999;

ImportStepHook g_stepHook = nullptr;

// True when name starts with prefix.
bool StartsWith(const std::string& name, const std::string& prefix) {
    return name.rfind(prefix, 0) == 0;
}

// The names in a folder.
std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code code;
    for (fs::directory_iterator it(folder, code), end; !code && it != end; it.increment(code))
        names.push_back(it->path().filename().string());
    return names;
}

// True for the temporary files of an atomic write of the list ("0.nld.123.tmp") or of another
// file of the music folder.
bool IsListTemporary(const std::string& name, const std::string& list) {
    if (!StartsWith(name, list + ".") || name.size() < list.size() + 6) return false;
    if (name.compare(name.size() - 4, 4, ".tmp") != 0) return false;
    for (size_t i = list.size() + 1; i + 4 < name.size(); ++i)
        if (name[i] < '0' || name[i] > '9') return false;
    return true;
}

// True when a title read from a pending note can name a song's files.
bool UsableTitle(const std::wstring& title) {
    if (title.empty() || title.find_first_of(L"/\\[") != std::wstring::npos ||
        title.find(L"..") != std::wstring::npos)
        return false;
    for (wchar_t c : title)
        if (c < 0x20) return false;
    return true;
}

}  // namespace

void SetImportStepHookForTesting(ImportStepHook hook) { g_stepHook = hook; }

bool ImportStepAllowed(const char* step, std::string& error) {
    if (g_stepHook == nullptr || g_stepHook(step)) return true;
    error = std::string("cannot write (") + step + "): input/output error";
    return false;
}

SongStore::SongStore(fs::path dataDir) : data_(dataDir.lexically_normal()) {
    // "DIR/" names DIR: the folders found in it then have it as their parent.
    if (!data_.has_filename() && data_.has_parent_path()) data_ = data_.parent_path();
}

bool SongStore::Open(std::string& error) {
    if (!FindDataLayout(data_, layout_, error)) return false;
    if (!lock_.Acquire((data_ / kLockName).string(), &error)) return false;
    if (!list_.Load(layout_.list.string(), error)) return false;
    FinishPending();
    ClearLeftovers();
    return true;
}

void SongStore::ReserveTitlesOf(const fs::path& contentFolder) {
    const fs::path list = FindMusicList(contentFolder);
    MusicListFile other;
    std::string ignored;
    // A damaged bundled list stops the game on its own; it reserves nothing here.
    if (list.empty() || !other.Load(list.string(), ignored)) return;
    for (const MusicEntry& entry : other.entries()) reserved_.push_back(entry.title);
}

void SongStore::FinishPending() {
    for (const std::string& name : NamesIn(layout_.music)) {
        const size_t ending = std::char_traits<char>::length(kPendingEnding);
        if (!StartsWith(name, kStagingPrefix) || name.size() < ending ||
            name.compare(name.size() - ending, ending, kPendingEnding) != 0)
            continue;
        const fs::path note = layout_.music / name;
        std::string bytes, ignored;
        platform::ReadWholeFile(note.string(), &bytes, &ignored);
        const std::wstring title = platform::Utf8ToWide(bytes);
        bool listed = false;
        for (const MusicEntry& entry : list_.entries()) listed = listed || entry.title == title;
        // A new song whose list entry was never written: its files go, as if never imported.
        if (!listed && UsableTitle(title)) {
            Discard(layout_.music / platform::WideToUtf8(title));
            Discard(layout_.textures / (platform::WideToUtf8(title) + ".png"));
        }
        Discard(note);
    }
}

void SongStore::ClearLeftovers() const {
    const std::string listName = layout_.list.filename().string();
    const auto listed = [this](const std::string& name) {
        for (const MusicEntry& entry : list_.entries())
            if (SameTitle(entry.title, platform::Utf8ToWide(name))) return true;
        return false;
    };
    for (const std::string& name : NamesIn(layout_.music))
        if (StartsWith(name, kStagingPrefix) || IsListTemporary(name, listName) ||
            IsListTemporary(name, kPacksFileName) ||
            (StartsWith(name, kOldStagingPrefix) && !listed(name)))
            Discard(layout_.music / name);
    for (const std::string& name : NamesIn(layout_.textures)) {
        const std::string stem = name.substr(0, name.find(".png"));
        if (StartsWith(name, kStagingPrefix) ||
            (StartsWith(name, kOldStagingPrefix) && !listed(stem)))
            Discard(layout_.textures / name);
    }
    for (const std::string& name : NamesIn(data_))
        if (StartsWith(name, kStagingPrefix)) Discard(data_ / name);
}

bool SongStore::FilesExist(const std::wstring& title) const {
    const std::wstring jacket = title + L".png";
    return !platform::FindInFolder(layout_.music.string(), title).path.empty() ||
           !platform::FindInFolder(layout_.textures.string(), jacket).path.empty();
}

bool SongStore::ChooseTitle(const std::wstring& title, const std::wstring& credit,
                            std::wstring& chosen, size_t& listIndex) const {
    const std::vector<MusicEntry>& entries = list_.entries();
    const auto reserved = [this](const std::wstring& candidate) {
        if (IsReservedTitle(candidate)) return true;
        for (const std::wstring& other : reserved_)
            if (SameTitle(other, candidate)) return true;
        return false;
    };
    for (int n = 1; n <= kMaxNumberedTitles; ++n) {
        const std::wstring candidate = n == 1 ? title : NumberedTitle(title, n);
        if (reserved(candidate)) continue;
        size_t found = entries.size();
        for (size_t i = 0; i < entries.size(); ++i)
            if (SameTitle(entries[i].title, candidate)) found = i;
        if (found < entries.size()) {
            // The same song (title and artist alike) replaces its entry, whether it came in
            // before or earlier in this import.
            if (entries[found].credit != credit) continue;
            chosen = entries[found].title;
            listIndex = found;
            return true;
        }
        if (FilesExist(candidate)) continue;
        chosen = candidate;
        listIndex = entries.size();
        return true;
    }
    return false;
}

std::string SongStore::StagingName(const std::string& what) {
    return kStagingPrefix + std::to_string(::getpid()) + "-" + std::to_string(++staged_) + what +
           "]";
}

bool SongStore::NewStaging(StagedSong& song, std::string& error) {
    const std::string name = StagingName("");
    song.folder = layout_.music / name;
    song.jacket = layout_.textures / (name + ".png");
    std::error_code code;
    if (!fs::create_directory(song.folder, code)) {
        error = "cannot make the folder " + song.folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

bool SongStore::NewUnpackFolder(fs::path& folder, std::string& error) {
    folder = layout_.music / StagingName(" unpacked");
    std::error_code code;
    if (!fs::create_directory(folder, code)) {
        error = "cannot make the folder " + folder.string() + ": " + code.message();
        return false;
    }
    return true;
}

bool SongStore::ListWith(const StagedSong& song, MusicListFile& next) const {
    next = list_;
    return next.Put(song.listIndex, song.entry);
}

void SongStore::Discard(const fs::path& path) {
    std::error_code code;
    fs::remove_all(path, code);
}

}  // namespace importer
