// ImportSongWriter: songs of the other games' formats written by the tests themselves, for the
// importer's tests and the end-to-end plays: a simfile (.sm) or a beatmap archive (.osz) with
// its audio (Ogg, FLAC, MP3 or WAV through libsndfile) holding a click at each note's time,
// and the times at which each note must sound, computed here independently of the importer.
// Depends on: libsndfile, libarchive, std::filesystem.
#pragma once

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace testsupport {

enum class AudioKind { kOgg, kFlac, kMp3, kWav };

// The file extension of a kind ("ogg", "flac", "mp3", "wav").
std::string ExtensionOf(AudioKind kind);

// Writes seconds of quiet stereo sound at 44.1 kHz with a short click starting at each time.
// Returns false when libsndfile cannot write that kind.
bool WriteClickAudio(const std::filesystem::path& path, AudioKind kind, double seconds,
                     const std::vector<double>& clickTimes);

// A simfile song: 4-beat measures of 48 rows, notes at beats (multiples of 1/12), tempo
// changes and stops.
struct SimfileSong {
    std::string title = "Click Song";
    std::string artist = "Tester";
    double offset = 0.0;                                           // #OFFSET
    std::vector<std::pair<double, double>> bpms = {{0.0, 120.0}};  // beat, tempo
    std::vector<std::pair<double, double>> stops;                  // beat, seconds
    std::string stepsType = "dance-double";                        // 8 columns
    int columns = 8;
    std::string difficulty = "Medium";
    int meter = 5;
    std::vector<std::pair<double, int>> notes;  // beat, column (ascending beats)
    double audioSeconds = 5.0;
    AudioKind audio = AudioKind::kOgg;
};

// What was written.
struct WrittenSong {
    std::filesystem::path folder;   // the song folder (or the archive for a beatmap set)
    std::filesystem::path audio;    // the audio file
    std::vector<double> noteTimes;  // seconds into the audio of each note, in note order
};

// The time of a beat under the song's tempos and stops (a note on a stop's beat sounds when
// the stop begins).
double BeatSeconds(const SimfileSong& song, double beat);

// Writes folder/NAME.sm and folder/NAME.EXT (NAME from the title) with a click at each note.
WrittenSong WriteSimfileSong(const std::filesystem::path& folder, const SimfileSong& song);

// A beatmap set of the key mode: one beatmap per difficulty, all on the same audio.
struct BeatmapSet {
    std::string title = "Click Map";
    std::string artist = "Tester";
    int keys = 8;
    double tempo = 150.0;
    double audioSeconds = 5.0;
    AudioKind audio = AudioKind::kMp3;
    std::string audioName;  // the audio's name in the archive; "audio.EXT" when empty
    // Per difficulty: its name and its notes (milliseconds, column).
    std::vector<std::pair<std::string, std::vector<std::pair<int, int>>>> difficulties;
};

// Writes the set as an .osz archive at path, with a click at every difficulty's notes;
// noteTimes are those of the first difficulty.
WrittenSong WriteBeatmapArchive(const std::filesystem::path& path, const BeatmapSet& set);

// One entry of a test archive: a file with content, or a link.
struct ArchiveEntry {
    enum Kind { kFile, kSymlink, kFolder };
    ArchiveEntry(std::string n, std::string c, Kind k = kFile, std::string target = {})
        : name(std::move(n)), content(std::move(c)), kind(k), linkTarget(std::move(target)) {}
    std::string name;
    std::string content;
    Kind kind;
    std::string linkTarget;
};

// Writes a ZIP archive of the entries, exactly as named (hostile names included).
void WriteZip(const std::filesystem::path& path, const std::vector<ArchiveEntry>& entries);

// The whole file as bytes ("" when missing).
std::string ReadBytes(const std::filesystem::path& path);

}  // namespace testsupport
