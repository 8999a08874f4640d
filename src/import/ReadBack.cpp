// ReadBack: the entry line parsed by the list reader, then the song's files checked at their
// staging places as if they were in place.
#include "import/ReadBack.h"

#include <algorithm>
#include <optional>

#include "platform/Codepage.h"
#include "selection/SongFiles.h"

namespace importer {

namespace {

// The entry as the game reads its line back; false with the reason in error.
bool EntryReadsBack(const MusicEntry& entry, std::string& error) {
    std::string line;
    if (!FormatEntryLine(entry, line)) {
        error = "the title or credit cannot be written in code page 932";
        return false;
    }
    const std::optional<std::wstring> text = platform::Cp932ToWide(line);
    std::vector<MusicEntry> read;
    MusicListError failure;
    const JacketLoader noJacket = [](const std::wstring&) { return true; };
    if (!text || !ParseMusicList(*text + L"\n", noJacket, read, failure)) {
        error = "its music list entry does not read back: " + failure.message;
        return false;
    }
    const bool same = read.size() == 1 && read[0].title == entry.title &&
                      read[0].credit == entry.credit &&
                      std::equal(entry.levels, entry.levels + 3, read[0].levels);
    if (!same)
        error = "its music list entry does not read back as written (title \"" +
                platform::WideToUtf8(entry.title) + "\")";
    return same;
}

}  // namespace

bool ReadBackStagedSong(const StagedSong& song, std::string& error) {
    if (!EntryReadsBack(song.entry, error)) return false;
    const std::wstring folder = L"Data/Music/" + song.entry.title + L"/";
    const std::wstring jacket = L"Data/Texture/" + song.entry.title + L".png";
    const LocateFile staged = [&](const std::wstring& relative) {
        if (relative == jacket) return song.jacket.string();
        if (relative.rfind(folder, 0) == 0)
            return (song.folder / platform::WideToUtf8(relative.substr(folder.size()))).string();
        return platform::WideToUtf8(relative);
    };
    SongCheck check;
    check.authoring = true;
    check.wholeSound = false;  // decoded whole when its length was measured
    const std::vector<std::string> problems = SongProblems(song.entry, staged, check);
    if (problems.empty()) return true;
    error = "the game could not read it: " + problems.front();
    return false;
}

}  // namespace importer
