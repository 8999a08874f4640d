// ImportSongWriter: the song files of the importer's tests.
#include "support/ImportSongWriter.h"

#include <archive.h>
#include <archive_entry.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <sstream>

namespace fs = std::filesystem;

namespace testsupport {

namespace {

constexpr int kRate = 44100;
// Rows of a measure in written simfiles: notes on twelfths of a beat.
constexpr int kRowsPerMeasure = 48;

// libsndfile's format of a kind.
int FormatOf(AudioKind kind) {
    switch (kind) {
        case AudioKind::kOgg:
            return SF_FORMAT_OGG | SF_FORMAT_VORBIS;
        case AudioKind::kFlac:
            return SF_FORMAT_FLAC | SF_FORMAT_PCM_16;
        case AudioKind::kMp3:
            return SF_FORMAT_MPEG | SF_FORMAT_MPEG_LAYER_III;
        case AudioKind::kWav:
            return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
    }
    return 0;
}

// Writes text to a file.
void WriteText(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

// Adds one entry to an archive being written.
void AddEntry(archive* writer, const ArchiveEntry& e) {
    archive_entry* entry = archive_entry_new();
    archive_entry_set_pathname(entry, e.name.c_str());
    archive_entry_set_perm(entry, 0644);
    if (e.kind == ArchiveEntry::kSymlink) {
        archive_entry_set_filetype(entry, AE_IFLNK);
        archive_entry_set_symlink(entry, e.linkTarget.c_str());
    } else if (e.kind == ArchiveEntry::kFolder) {
        archive_entry_set_filetype(entry, AE_IFDIR);
    } else {
        archive_entry_set_filetype(entry, AE_IFREG);
        archive_entry_set_size(entry, static_cast<la_int64_t>(e.content.size()));
    }
    archive_write_header(writer, entry);
    if (e.kind == ArchiveEntry::kFile)
        archive_write_data(writer, e.content.data(), e.content.size());
    archive_entry_free(entry);
}

}  // namespace

std::string ExtensionOf(AudioKind kind) {
    switch (kind) {
        case AudioKind::kOgg:
            return "ogg";
        case AudioKind::kFlac:
            return "flac";
        case AudioKind::kMp3:
            return "mp3";
        case AudioKind::kWav:
            return "wav";
    }
    return "";
}

bool WriteClickAudio(const fs::path& path, AudioKind kind, double seconds,
                     const std::vector<double>& clickTimes) {
    const auto frames = static_cast<sf_count_t>(std::ceil(seconds * kRate));
    std::vector<float> samples(static_cast<size_t>(frames) * 2, 0.f);
    for (double t : clickTimes) {
        const auto start = static_cast<sf_count_t>(std::llround(t * kRate));
        // 10 ms of a decaying 1 kHz tone.
        for (sf_count_t i = 0; i < kRate / 100; ++i) {
            if (start + i < 0 || start + i >= frames) continue;
            const float v =
                0.8f * std::exp(-i / 80.f) * std::sin(2.f * 3.14159265f * 1000.f * i / kRate);
            samples[static_cast<size_t>(start + i) * 2] =
                samples[static_cast<size_t>(start + i) * 2 + 1] = v;
        }
    }
    SF_INFO info{};
    info.samplerate = kRate;
    info.channels = 2;
    info.format = FormatOf(kind);
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    if (file == nullptr) return false;
    const sf_count_t written = sf_writef_float(file, samples.data(), frames);
    sf_close(file);
    return written == frames;
}

double BeatSeconds(const SimfileSong& song, double beat) {
    std::vector<std::pair<double, double>> bpms = song.bpms;
    std::sort(bpms.begin(), bpms.end());
    double seconds = -song.offset, at = 0.0, tempo = bpms.front().second;
    for (const auto& [b, t] : bpms) {
        if (b >= beat) break;
        seconds += (b - at) * 60.0 / tempo;
        at = b;
        tempo = t;
    }
    seconds += (beat - at) * 60.0 / tempo;
    for (const auto& [b, s] : song.stops)
        if (b < beat) seconds += s;
    return seconds;
}

WrittenSong WriteSimfileSong(const fs::path& folder, const SimfileSong& song) {
    WrittenSong written;
    written.folder = folder;
    fs::create_directories(folder);
    written.audio = folder / (song.title + "." + ExtensionOf(song.audio));
    std::ostringstream sm;
    sm << "#TITLE:" << song.title << ";\n#ARTIST:" << song.artist
       << ";\n#MUSIC:" << written.audio.filename().string() << ";\n#OFFSET:" << song.offset
       << ";\n#BPMS:";
    for (size_t i = 0; i < song.bpms.size(); ++i)
        sm << (i ? "," : "") << song.bpms[i].first << "=" << song.bpms[i].second;
    sm << ";\n#STOPS:";
    for (size_t i = 0; i < song.stops.size(); ++i)
        sm << (i ? "," : "") << song.stops[i].first << "=" << song.stops[i].second;
    sm << ";\n#NOTES:\n     " << song.stepsType << ":\n     :\n     " << song.difficulty
       << ":\n     " << song.meter << ":\n     0,0,0,0,0:\n";
    const int measures = song.notes.empty() ? 1 : static_cast<int>(song.notes.back().first / 4) + 1;
    std::vector<std::string> rows(static_cast<size_t>(measures) * kRowsPerMeasure,
                                  std::string(static_cast<size_t>(song.columns), '0'));
    for (const auto& [beat, column] : song.notes) {
        rows[static_cast<size_t>(std::llround(beat * kRowsPerMeasure / 4))]
            [static_cast<size_t>(column)] = '1';
        written.noteTimes.push_back(BeatSeconds(song, beat));
    }
    for (size_t r = 0; r < rows.size(); ++r)
        sm << rows[r] << "\n"
           << ((r + 1) % kRowsPerMeasure == 0 && r + 1 < rows.size() ? ",\n" : "");
    sm << ";\n";
    WriteText(folder / (song.title + ".sm"), sm.str());
    WriteClickAudio(written.audio, song.audio, song.audioSeconds, written.noteTimes);
    return written;
}

WrittenSong WriteBeatmapArchive(const fs::path& path, const BeatmapSet& set) {
    WrittenSong written;
    written.folder = path;
    const std::string audioName =
        set.audioName.empty() ? "audio." + ExtensionOf(set.audio) : set.audioName;
    std::vector<ArchiveEntry> entries;
    std::vector<double> clicks;  // every difficulty's notes
    for (const auto& [name, notes] : set.difficulties) {
        std::ostringstream osu;
        osu << "osu file format v14\n\n[General]\nAudioFilename: " << audioName
            << "\nAudioLeadIn: 1500\nMode: 3\n\n[Metadata]\nTitle:" << set.title
            << "\nArtist:" << set.artist << "\nVersion:" << name
            << "\n\n[Difficulty]\nCircleSize:" << set.keys << "\n\n[TimingPoints]\n0,"
            << 60000.0 / set.tempo << ",4,1,0,100,1,0\n\n[HitObjects]\n";
        for (const auto& [ms, column] : notes)
            osu << (column * 512 + 256) / set.keys << ",192," << ms << ",1,0,0:0:0:0:\n";
        entries.push_back({set.title + " [" + name + "].osu", osu.str()});
        for (const auto& note : notes) clicks.push_back(note.first / 1000.0);
        if (written.noteTimes.empty()) written.noteTimes = clicks;
    }
    const fs::path audio = path.string() + "." + audioName;
    WriteClickAudio(audio, set.audio, set.audioSeconds, clicks);
    entries.push_back({audioName, ReadBytes(audio)});
    fs::remove(audio);
    WriteZip(path, entries);
    written.audio = audioName;
    return written;
}

void WriteZip(const fs::path& path, const std::vector<ArchiveEntry>& entries) {
    archive* writer = archive_write_new();
    archive_write_set_format_zip(writer);
    archive_write_open_filename(writer, path.c_str());
    for (const ArchiveEntry& e : entries) AddEntry(writer, e);
    archive_write_close(writer);
    archive_write_free(writer);
}

std::string ReadBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace testsupport
