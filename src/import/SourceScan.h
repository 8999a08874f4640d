// SourceScan: where the songs of a path are. A .sm or .ssc file is one song; an .osu file is
// one beatmap; an .osz or .zip file is an archive to unpack; a folder is searched through (its
// own simfile, preferring .ssc, its beatmaps together, its archives, then its sub-folders).
// Also finds the files a song names, ignoring letter case as the systems these songs come from
// do, and never outside the song's folder.
// Depends on: std::filesystem.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace importer {

enum class SourceKind { kSimfile, kBeatmaps, kArchive };

struct SongSource {
    SourceKind kind = SourceKind::kSimfile;
    std::filesystem::path path;                   // the simfile, the beatmaps' folder, the archive
    std::vector<std::filesystem::path> beatmaps;  // the .osu files (kBeatmaps)
};

// The sources in path, in a stable order. False with the reason in problem when path is
// missing or is a file of another kind.
bool FindSources(const std::filesystem::path& path, std::vector<SongSource>& sources,
                 std::string& problem);

// The lower-case extension of a path without its dot ("sm", "osz").
std::string LowerExtension(const std::filesystem::path& path);

// The file that name (relative, "/" or "\" separated) names inside folder, matching letter
// case loosely; empty when there is none or the name leaves the folder.
std::filesystem::path FindInFolder(const std::filesystem::path& folder, const std::string& name);

// Audio files of the folder (Ogg, Opus, FLAC, MP3, WAV), by name.
std::vector<std::filesystem::path> AudioFilesIn(const std::filesystem::path& folder);

// Pictures of the folder whose names say jacket, background or banner, in that order.
std::vector<std::filesystem::path> NamedPicturesIn(const std::filesystem::path& folder);

// True for the extensions of files a song may need (charts, audio, pictures).
bool IsSongFileName(const std::string& name);

}  // namespace importer
