// MusicList: the entries read with the shared bounded key[value] reader, per-line code page 932
// decoding (so a bad byte names its line), and the checks that keep a title usable as a file
// name.
// With two content folders the player's list and the bundled one are merged, and each song's
// files are pinned to the folder whose list holds it; the selection leaves out the player's
// songs it cannot read (selection/PlayerSongs.h).
// Depends on: settings/KeyValueReader.h, platform/Codepage.h, platform/files/ContentFiles.h,
// services/TextureStore.h.
#include "selection/MusicList.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <iterator>
#include <optional>
#include <set>

#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"
#include "selection/PlayerSongs.h"
#include "services/TextureStore.h"
#include "settings/KeyValueReader.h"

namespace {

using Reader = KeyValueReader<wchar_t>;

const std::wstring kMusicFolder = L"Data/Music/";
const std::wstring kTextureFolder = L"Data/Texture/";

// UTF-8 form of a piece for messages.
std::string Utf8(const std::wstring& text) { return platform::WideToUtf8(text); }

// Why a title cannot name a jacket, a folder and a song file, or empty when it can.
std::string TitleProblem(const std::wstring& title) {
    if (title.find_first_of(L"/\\") != std::wstring::npos ||
        title.find(L"..") != std::wstring::npos)
        return "title \"" + Utf8(title) +
               "\" cannot be used as a file name (it holds \"/\", \"\\\" or \"..\")";
    for (wchar_t c : title)
        if (c < 0x20)
            return "title holds a line break or control character (is a \"[\" missing on an "
                   "earlier line, or is there a blank line?)";
    return {};
}

// Fills error and returns false, for one-line failure returns.
bool Fail(MusicListError& error, int line, std::string message) {
    error = {line, std::move(message)};
    return false;
}

// Reads the three ratings of an entry whose title was just read.
bool ReadLevels(Reader& reader, const std::wstring& title, int32_t (&levels)[3],
                MusicListError& error) {
    static constexpr wchar_t kEnds[3] = {L':', L':', L']'};
    for (int k = 0; k < 3; ++k) {
        const WideField piece = reader.ReadUntil(kEnds[k]);
        const std::string what = "level " + std::to_string(k + 1) + " of \"" + Utf8(title) + "\"";
        if (piece.end == FieldEnd::kTooLong) return Fail(error, piece.line, TooLongMessage(what));
        std::string failure;
        if (ToInt(piece.text, &levels[k], &failure)) continue;
        if (piece.text.empty() && piece.end == FieldEnd::kEndOfText)
            return Fail(error, piece.line, "the file ends before " + what);
        return Fail(error, piece.line, NumberProblem(what, Utf8(piece.text), failure));
    }
    return true;
}

// Decodes the file's bytes from code page 932 and drops the CR of each CR LF line end, as a
// text-mode read would. The whole file is decoded at once; only a file that does not decode
// is gone through line by line, to name the bad line. (A CR or LF byte is never part of a
// two-byte character, so both ways give the same text.)
bool DecodeList(const std::string& bytes, std::wstring& text, MusicListError& error) {
    if (std::optional<std::wstring> whole = platform::Cp932ToWide(bytes)) {
        text.reserve(whole->size());
        for (size_t i = 0; i < whole->size(); ++i)
            if ((*whole)[i] != L'\r' || i + 1 >= whole->size() || (*whole)[i + 1] != L'\n')
                text += (*whole)[i];
        return true;
    }
    size_t start = 0;
    for (int line = 1; start <= bytes.size(); ++line) {
        size_t end = bytes.find('\n', start);
        const bool last = end == std::string::npos;
        if (last) end = bytes.size();
        size_t stop = end;
        if (!last && stop > start && bytes[stop - 1] == '\r') --stop;
        const std::optional<std::wstring> decoded =
            platform::Cp932ToWide(std::string_view(bytes).substr(start, stop - start));
        if (!decoded) return Fail(error, line, "not valid code page 932 text");
        text += *decoded;
        if (last) break;
        text += L'\n';
        start = end + 1;
    }
    return true;
}

// The list's file in one content folder: the exact name, or one differing in letter case.
std::string ListPathIn(const std::string& folder) {
    const std::wstring relative = platform::Utf8ToWide(kMusicListPath);
    platform::FoundFile found = platform::FindInFolder(folder, relative);
    if (!found.path.empty()) return found.path;
    return folder.empty() ? kMusicListPath : folder + "/" + kMusicListPath;
}

// The message of a list that holds no entry.
std::string NoEntryMessage(const std::string& path) {
    return path + ": the music list holds no entry (one line: Title[1:2:3]Credit)";
}

// Reads one list file, loading jackets as it goes; false with "file:line: message".
bool ReadOneList(const std::string& path, const JacketLoader& loadJacket,
                 std::vector<MusicEntry>& entries, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = path + ": cannot be opened: " + std::strerror(errno);
        return false;
    }
    const std::string bytes((std::istreambuf_iterator<char>(file)),
                            std::istreambuf_iterator<char>());
    if (file.bad()) {
        error = path + ": cannot be read";
        return false;
    }
    std::wstring text;
    MusicListError failure;
    if (!DecodeList(bytes, text, failure) || !ParseMusicList(text, loadJacket, entries, failure)) {
        error = LocatedMessage(path, failure.line, failure.message);
        return false;
    }
    return true;
}

// Reads a list that the whole-file reading refused line by line: each line that reads is an
// entry, each other line is left out with its message; false when the file cannot be read.
bool ReadListByLines(const std::string& path, const JacketLoader& loadJacket,
                     std::vector<MusicEntry>& entries, std::vector<LeftOutSong>& leftOut) {
    entries.clear();
    std::ifstream file(path, std::ios::binary);
    if (!file) return false;
    std::string line;
    for (int number = 1; std::getline(file, line); ++number) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        std::wstring text;
        MusicListError failure;
        if (!DecodeList(line, text, failure) || !ParseMusicList(text, loadJacket, entries, failure))
            leftOut.push_back({L"", LocatedMessage(path, number, failure.message)});
    }
    return !file.bad();
}

// Leaves out the entries of a player's list whose files cannot be read.
void LeaveOutUnreadable(std::vector<MusicEntry>& entries, size_t folder,
                        std::vector<LeftOutSong>& leftOut) {
    std::vector<MusicEntry> kept;
    for (MusicEntry& entry : entries) {
        std::string problem = PlayerSongProblem(entry, folder);
        if (problem.empty())
            kept.push_back(std::move(entry));
        else
            leftOut.push_back({entry.title, std::move(problem)});
    }
    entries = std::move(kept);
}

// Reads the list of each folder, first folder first (the player's: its titles win, so the
// same title of a later folder is neither pinned nor its jacket loaded). Only the last folder
// (the bundled content) must have a list. Each failed list adds its message to errors; with
// leftOut, the songs of the player's lists that cannot be read are left out there instead.
void ReadFolderLists(const std::vector<std::string>& folders, const JacketLoader& loadJacket,
                     std::vector<std::vector<MusicEntry>>& lists, std::vector<std::string>& errors,
                     std::vector<LeftOutSong>* leftOut) {
    lists.assign(folders.size(), {});
    std::set<std::wstring> taken;
    for (size_t i = 0; i < folders.size(); ++i) {
        const std::string path = ListPathIn(folders[i]);
        const bool player = i + 1 < folders.size();
        if (player && !platform::PathExists(path)) continue;
        const bool lenient = player && leftOut != nullptr;
        const JacketLoader pinAndLoad = [&, i](const std::wstring& title) {
            if (taken.count(title)) return true;
            platform::PinContent(kMusicFolder + title + L"/", i);
            platform::PinContent(kTextureFolder + title + L".png", i);
            // A player's song with a bad jacket is left out with the rest of its files' checks.
            return loadJacket(title) || lenient;
        };
        std::string error;
        if (!ReadOneList(path, pinAndLoad, lists[i], error)) {
            if (!lenient) errors.push_back(error);
            if (lenient && !ReadListByLines(path, pinAndLoad, lists[i], *leftOut))
                leftOut->push_back({L"", error});
        }
        if (lenient) LeaveOutUnreadable(lists[i], i, *leftOut);
        for (const MusicEntry& entry : lists[i]) taken.insert(entry.title);
    }
}

// The last folder's songs first (the bundled ones), then each earlier folder's; a title is
// listed from the first folder that has it.
void MergeLists(std::vector<std::vector<MusicEntry>>& lists, std::vector<MusicEntry>& entries) {
    for (size_t i = lists.size(); i-- > 0;) {
        std::set<std::wstring> earlier;
        for (size_t j = 0; j < i; ++j)
            for (const MusicEntry& entry : lists[j]) earlier.insert(entry.title);
        for (MusicEntry& entry : lists[i])
            if (!earlier.count(entry.title)) entries.push_back(std::move(entry));
    }
}

}  // namespace

bool ParseMusicList(std::wstring_view text, const JacketLoader& loadJacket,
                    std::vector<MusicEntry>& entries, MusicListError& error) {
    Reader reader(text);
    WideField title = reader.ReadUntil(L'[');
    while (title.end != FieldEnd::kEndOfText) {
        if (title.end == FieldEnd::kTooLong)
            return Fail(error, title.line, TooLongMessage("title"));
        if (std::string problem = TitleProblem(title.text); !problem.empty())
            return Fail(error, title.line, problem);
        if (!loadJacket(title.text))
            return Fail(error, title.line,
                        "jacket \"Data/Texture/" + Utf8(title.text) + ".png\" cannot be loaded");
        MusicEntry entry;
        entry.title = title.text;
        if (!ReadLevels(reader, entry.title, entry.levels, error)) return false;
        WideField credit = reader.ReadUntil(L'\n');
        if (credit.end == FieldEnd::kTooLong)
            return Fail(error, credit.line,
                        TooLongMessage("credit of \"" + Utf8(entry.title) + "\""));
        entry.credit = std::move(credit.text);
        entries.push_back(std::move(entry));
        title = reader.ReadUntil(L'[');
    }
    return true;
}

bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error) {
    std::string reason;
    const JacketLoader checkJacket = [&reason](const std::wstring& title) {
        reason.clear();
        return TextureStore::Get().jackets().Check(title, &reason);
    };
    std::vector<std::string> errors;
    std::vector<LeftOutSong> leftOut;
    const bool ok = ReadMusicLists(entries, errors, checkJacket, &leftOut);
    for (const LeftOutSong& song : leftOut) ReportLeftOutSong(song.title, song.reason);
    if (ok) return true;
    error = errors.front();
    // The jacket check's reason belongs to the line that names a jacket.
    if (!reason.empty() && error.find("jacket \"") != std::string::npos) error += ": " + reason;
    return false;
}

bool ReadMusicList(std::vector<MusicEntry>& entries, std::string& error,
                   const JacketLoader& loadJacket) {
    std::vector<std::string> errors;
    const bool ok = ReadMusicLists(entries, errors, loadJacket);
    if (!ok) error = errors.front();
    return ok;
}

std::vector<std::pair<std::wstring, size_t>> ListedTitles(const std::vector<std::string>& folders) {
    std::vector<std::pair<std::wstring, size_t>> titles;
    std::set<std::wstring> taken;
    for (size_t i = 0; i < folders.size(); ++i) {
        std::vector<MusicEntry> entries;
        std::string ignored;
        ReadOneList(
            ListPathIn(folders[i]), [](const std::wstring&) { return true; }, entries, ignored);
        for (MusicEntry& entry : entries)
            if (taken.insert(entry.title).second) titles.emplace_back(std::move(entry.title), i);
    }
    return titles;
}

bool ReadMusicLists(std::vector<MusicEntry>& entries, std::vector<std::string>& errors,
                    const JacketLoader& loadJacket, std::vector<LeftOutSong>* leftOut) {
    const std::vector<std::string>& folders = platform::ContentFolders();
    platform::ClearContentPins();
    if (folders.size() == 1) {
        const std::string path = ListPathIn(folders[0]);
        std::string error;
        if (!ReadOneList(path, loadJacket, entries, error)) return errors.push_back(error), false;
        return entries.empty() ? (errors.push_back(NoEntryMessage(path)), false) : true;
    }
    std::vector<std::vector<MusicEntry>> lists;
    ReadFolderLists(folders, loadJacket, lists, errors, leftOut);
    MergeLists(lists, entries);
    if (errors.empty() && entries.empty())
        errors.push_back(NoEntryMessage(ListPathIn(folders.back())));
    return errors.empty();
}
