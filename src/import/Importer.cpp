// Importer: one ImportRun walks the paths; each song goes read → levels → audio → convert →
// stage → commit, and any step that fails skips the song with its reason.
#include "import/Importer.h"

#include <map>
#include <tuple>

#include "import/ChartConversion.h"
#include "import/Jacket.h"
#include "import/LevelChoice.h"
#include "import/OsuReader.h"
#include "import/PackName.h"
#include "import/ReadBack.h"
#include "import/SimfileReader.h"
#include "import/SongStore.h"
#include "import/SongTitle.h"
#include "import/SourceScan.h"
#include "platform/ArchiveReader.h"
#include "platform/AudioFileInfo.h"
#include "platform/Codepage.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SongFolder.h"
#include "selection/PacksFile.h"
#include "selection/SongFiles.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// Chart files larger than this are no chart file.
constexpr uintmax_t kMaxSourceBytes = 16u << 20;

// A source file's bytes; false with the reason.
bool ReadSource(const fs::path& path, std::string& bytes, std::string& reason) {
    std::error_code code;
    const uintmax_t size = fs::file_size(path, code);
    if (code) {
        reason = "cannot be read: " + code.message();
        return false;
    }
    if (size > kMaxSourceBytes) {
        reason = "too large for a chart file";
        return false;
    }
    return platform::ReadWholeFile(path.string(), &bytes, &reason) == platform::ReadResult::kOk;
}

// The archive entries worth unpacking: song files outside the folders of other systems' extra
// data ("__MACOSX", "._" files). A name without an extension may be the audio a beatmap names,
// which is found by its content.
bool WantedEntry(const std::string& path) {
    if (path.rfind("__MACOSX/", 0) == 0 || path.find("/__MACOSX/") != std::string::npos)
        return false;
    const size_t slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    if (name.empty() || name.rfind("._", 0) == 0) return false;
    return IsSongFileName(name) || fs::path(name).extension().empty();
}

// The name a level is shown with: "Easy 3", "Hard 7".
std::string LevelName(const SourceChart& chart, int rating) {
    const std::string name = platform::WideToUtf8(chart.name);
    return name.empty() ? std::to_string(rating) : name + " " + std::to_string(rating);
}

// A song read from its files, with the path the report names.
struct FoundSong {
    SourceSong song;
    std::string shown;
    std::wstring fallbackTitle;
};

// The song's audio file, what it holds, and whether it must become FLAC to be played.
struct SongAudio {
    fs::path path;
    platform::AudioFileInfo info;
    bool convert = false;
};

// True when the game's WAV reader cannot play the file (µ-law, A-law, IMA ADPCM, GSM …).
bool WavNeedsConverting(const fs::path& path) {
    std::vector<std::string> problems;
    SoundProblems(path.string(), false, CheckDepth::kFull, problems);
    return !problems.empty();
}

class ImportRun {
  public:
    ImportRun(const fs::path& dataDir, const ReportLine& report, const ImportOptions& options)
        : store_(dataDir), report_(report), options_(options) {}
    bool Open(std::string& error);
    void ImportPath(const fs::path& path);
    ImportResult result;

  private:
    SongStore store_;
    JacketMaker jackets_;
    const ReportLine& report_;
    const ImportOptions& options_;
    PacksWriter packs_;
    fs::path named_;    // the path being imported, as named
    fs::path archive_;  // the archive being imported from, if any

    void RecordPack(const FoundSong& found, const std::wstring& title);

    void Skip(const std::string& shown, const std::string& reason);
    void ImportSource(const SongSource& source, const std::string& shown, bool inArchive);
    void ImportArchive(const fs::path& archive, const std::string& shown);
    void ImportSimfile(const fs::path& simfile, const std::string& shown);
    void ImportBeatmaps(const SongSource& source, const std::string& shown);
    void ImportSong(const FoundSong& found);
    bool FindAudio(const FoundSong& found, SongAudio& audio);
    std::vector<std::string> Pictures(const SourceSong& song) const;
    bool Stage(const FoundSong& found, const std::vector<ConvertedChart>& charts,
               const SongAudio& audio, StagedSong& staged, std::string& error);
    // Reports a song that is now in the music list (the one place each committed song passes).
    void Committed(const FoundSong& found, const StagedSong& staged, const SongAudio& audio,
                   const std::vector<size_t>& levels, const std::vector<ConvertedChart>& charts);
};

bool ImportRun::Open(std::string& error) {
    if (!store_.Open(error)) return false;
    for (const fs::path& folder : options_.reservedFrom) store_.ReserveTitlesOf(folder);
    std::string notice;
    if (!packs_.Open(store_.layout().music.string(), notice, error)) return false;
    if (!notice.empty()) report_(notice);
    return true;
}

// Keeps the pack the song came from beside the music list; a song whose pack cannot be kept
// stays imported (it is shown in the pack "Other").
void ImportRun::RecordPack(const FoundSong& found, const std::wstring& title) {
    std::string error;
    if (!packs_.Record(title, PackName(named_, archive_, found.song.folder), error))
        report_("  its pack is not kept: " + error);
}

void ImportRun::Skip(const std::string& shown, const std::string& reason) {
    ++result.skipped;
    report_("skipped " + shown + ": " + reason);
}

void ImportRun::ImportPath(const fs::path& path) {
    named_ = path;
    std::vector<SongSource> sources;
    std::string problem;
    if (!FindSources(path, sources, problem)) return Skip(path.string(), problem);
    if (sources.empty())
        return Skip(path.string(), "no song found (no .sm, .ssc, .osu, .osz or .zip file)");
    for (const SongSource& source : sources) {
        fs::path shown = source.path;
        if (source.kind == SourceKind::kBeatmaps && source.beatmaps.size() == 1 &&
            path == source.beatmaps.front())
            shown = path;
        ImportSource(source, shown.string(), false);
    }
}

void ImportRun::ImportSource(const SongSource& source, const std::string& shown, bool inArchive) {
    switch (source.kind) {
        case SourceKind::kSimfile:
            return ImportSimfile(source.path, shown);
        case SourceKind::kBeatmaps:
            return ImportBeatmaps(source, shown);
        case SourceKind::kArchive:
            if (inArchive) return Skip(shown, "an archive inside an archive is not opened");
            return ImportArchive(source.path, shown);
    }
}

void ImportRun::ImportArchive(const fs::path& archive, const std::string& shown) {
    fs::path unpacked;
    std::string error;
    if (!store_.NewUnpackFolder(unpacked, error)) return Skip(shown, error);
    archive_ = archive;
    platform::ArchiveReport archiveReport;
    const bool read = platform::ExtractArchive(archive.string(), unpacked.string(), WantedEntry,
                                               platform::ArchiveLimits{}, &archiveReport, &error);
    for (const platform::RefusedEntry& refused : archiveReport.refused)
        Skip(shown, "entry \"" + refused.name + "\" left out (" + refused.reason + ")");
    std::vector<SongSource> sources;
    std::string problem;
    if (!read)
        Skip(shown, "cannot be unpacked: " + error);
    else if (!FindSources(unpacked, sources, problem) || sources.empty())
        Skip(shown, "no song found in the archive");
    for (const SongSource& source : sources) {
        const fs::path inside = source.path.lexically_relative(unpacked);
        const std::string where =
            inside.empty() || inside == "." ? shown : shown + "/" + inside.string();
        ImportSource(source, where, true);
    }
    SongStore::Discard(unpacked);
    archive_.clear();
}

void ImportRun::ImportSimfile(const fs::path& simfile, const std::string& shown) {
    std::string bytes, error;
    if (!ReadSource(simfile, bytes, error)) return Skip(shown, error);
    FoundSong found;
    if (!ReadSimfile(bytes, found.song, error)) return Skip(shown, error);
    found.song.folder = simfile.parent_path().string();
    found.shown = shown;
    const fs::path folderName = simfile.parent_path().filename();
    found.fallbackTitle = platform::Utf8ToWide(
        (folderName.empty() || folderName.string().rfind("[import ", 0) == 0 ? simfile.stem()
                                                                             : folderName)
            .string());
    ImportSong(found);
}

void ImportRun::ImportBeatmaps(const SongSource& source, const std::string& shown) {
    // Beatmaps of one song share their audio, title and artist; each is one chart of it.
    std::map<std::tuple<std::string, std::wstring, std::wstring>, FoundSong> songs;
    std::vector<std::tuple<std::string, std::wstring, std::wstring>> order;
    std::string firstError;
    for (const fs::path& file : source.beatmaps) {
        std::string bytes, error;
        SourceSong one;
        if (!ReadSource(file, bytes, error) || !ReadOsu(bytes, one, error)) {
            if (firstError.empty()) firstError = error;
            continue;
        }
        const auto key = std::make_tuple(one.audioFile, one.title, one.artist);
        auto [it, added] = songs.try_emplace(key);
        if (added) {
            order.push_back(key);
            it->second.song = one;
            it->second.song.charts.clear();
            it->second.song.folder = source.path.string();
            it->second.shown = shown;
            it->second.fallbackTitle = platform::Utf8ToWide(file.stem().string());
        }
        it->second.song.charts.push_back(std::move(one.charts.front()));
    }
    if (songs.empty()) return Skip(shown, firstError.empty() ? "no beatmap" : firstError);
    for (const auto& key : order) ImportSong(songs[key]);
}

bool ImportRun::FindAudio(const FoundSong& found, SongAudio& audio) {
    const fs::path folder = found.song.folder;
    const std::string& named = found.song.audioFile;
    if (!named.empty()) {
        audio.path = FindInFolder(folder, named);
        // A song converted to another audio format keeps its file's stem.
        for (const fs::path& f : AudioFilesIn(folder))
            if (audio.path.empty() &&
                SameTitle(platform::Utf8ToWide(f.stem().string()),
                          platform::Utf8ToWide(fs::path(named).stem().string())))
                audio.path = f;
        if (audio.path.empty()) {
            Skip(found.shown, "the audio \"" + named + "\" is missing");
            return false;
        }
    } else {
        const std::vector<fs::path> files = AudioFilesIn(folder);
        if (files.empty()) {
            Skip(found.shown, "no audio file");
            return false;
        }
        audio.path = files.front();
    }
    std::string error;
    if (!platform::ReadAudioFileInfo(audio.path.string(), &audio.info, &error)) {
        Skip(found.shown,
             "the audio \"" + audio.path.filename().string() + "\" cannot be read: " + error);
        return false;
    }
    if (audio.info.kind == "wav" && WavNeedsConverting(audio.path)) {
        audio.convert = true;
        audio.info.kind = "flac";
    }
    return true;
}

std::vector<std::string> ImportRun::Pictures(const SourceSong& song) const {
    std::vector<std::string> pictures;
    for (const std::string& name : song.pictures)
        if (fs::path p = FindInFolder(song.folder, name); !p.empty())
            pictures.push_back(p.string());
    for (const fs::path& p : NamedPicturesIn(song.folder)) pictures.push_back(p.string());
    return pictures;
}

bool ImportRun::Stage(const FoundSong& found, const std::vector<ConvertedChart>& charts,
                      const SongAudio& audio, StagedSong& staged, std::string& error) {
    if (!store_.NewStaging(staged, error)) return false;
    for (size_t i = 0; i < charts.size(); ++i) {
        const fs::path chart = staged.folder / (std::to_string(i + 1) + ".nsd");
        if (!ImportStepAllowed("chart", error) ||
            !platform::WriteFileSynced(chart.string(), ChartFileText(charts[i]), &error))
            return false;
    }
    const std::string name = platform::WideToUtf8(staged.entry.title);
    const std::string song = (staged.folder / (name + "." + audio.info.kind)).string();
    if (!ImportStepAllowed("song file", error)) return false;
    if (audio.convert ? !platform::ConvertToFlac(audio.path.string(), song, &error)
                      : !platform::CopyFileSynced(audio.path.string(), song, &error))
        return false;
    std::string used;
    if (!ImportStepAllowed("jacket", error) ||
        !jackets_.Write(Pictures(found.song), staged.entry.title, staged.jacket.string(), &used,
                        error))
        return false;
    platform::SyncFile(staged.jacket.string());
    platform::SyncFolder(staged.folder.string());
    return true;
}

void ImportRun::ImportSong(const FoundSong& found) {
    const std::vector<size_t> levels = ChooseLevels(found.song.charts);
    if (levels.empty()) return Skip(found.shown, "no chart with 4 to 8 columns");
    SongAudio audio;
    if (!FindAudio(found, audio)) return;
    std::vector<ConvertedChart> charts;
    StagedSong staged;
    for (size_t i = 0; i < levels.size(); ++i) {
        charts.push_back(ConvertChart(found.song.charts[levels[i]], audio.info.seconds));
        staged.entry.levels[i] = LevelRating(found.song.charts[levels[i]]);
    }
    const std::wstring title =
        EntryTitle(found.song.title, found.song.titleLatin, found.fallbackTitle);
    staged.entry.credit = EntryCredit(found.song.artist, found.song.artistLatin);
    if (!store_.ChooseTitle(title, staged.entry.credit, staged.entry.title, staged.listIndex))
        return Skip(found.shown,
                    "every title from \"" + platform::WideToUtf8(title) + "\" on is taken");
    std::string error;
    // Read back before it is put in place: what the game cannot read never reaches the list.
    if (!Stage(found, charts, audio, staged, error) || !ReadBackStagedSong(staged, error) ||
        !store_.Commit(staged, error)) {
        SongStore::Discard(staged.folder);
        SongStore::Discard(staged.jacket);
        return Skip(found.shown, error);
    }
    Committed(found, staged, audio, levels, charts);
}

void ImportRun::Committed(const FoundSong& found, const StagedSong& staged, const SongAudio& audio,
                          const std::vector<size_t>& levels,
                          const std::vector<ConvertedChart>& charts) {
    ++result.imported;
    const MusicEntry& e = staged.entry;
    result.titles.push_back(e.title);
    report_("imported \"" + platform::WideToUtf8(e.title) + "\" from " + found.shown + ": levels " +
            std::to_string(e.levels[0]) + ":" + std::to_string(e.levels[1]) + ":" +
            std::to_string(e.levels[2]));
    if (audio.convert)
        report_("  audio: " + audio.path.filename().string() +
                " converted to FLAC (the game cannot play its WAV format)");
    for (size_t i = 0; i < charts.size(); ++i)
        report_("  level " + std::to_string(i + 1) + " (" +
                LevelName(found.song.charts[levels[i]], e.levels[i]) +
                "): " + ReportText(charts[i].report));
    RecordPack(found, e.title);
}

}  // namespace

ImportResult ImportSongs(const std::vector<fs::path>& paths, const fs::path& dataDir,
                         const ReportLine& report, const ImportOptions& options) {
    ImportRun run(dataDir, report, options);
    if (!run.Open(run.result.failure)) return run.result;
    for (const fs::path& path : paths) run.ImportPath(path);
    return run.result;
}

}  // namespace importer
