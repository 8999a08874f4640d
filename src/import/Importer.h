// Importer: `lyrandel --import PATH...`: finds the songs of each path, reads them, converts
// their charts, stages and puts each song in place, and reports one line per song and one per
// level:
//     imported "TITLE" from PATH: levels 3:5:8
//       level 1 (Easy 3): 212 notes; 4 holds as taps; …
//     skipped PATH: no chart with 4 to 8 columns
// Depends on: import/SourceScan.h, import/SimfileReader.h, import/OsuReader.h,
// import/LevelChoice.h, import/ChartConversion.h, import/SongTitle.h, import/Jacket.h,
// import/ReadBack.h, import/SongStore.h, import/PackName.h, platform/AudioFileInfo.h,
// platform/ArchiveReader.h, platform/files/SongFolder.h, selection/SongFiles.h (the game's WAV
// rule), selection/PacksFile.h.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace importer {

// Receives each line of the report (without its line feed).
using ReportLine = std::function<void(const std::string&)>;

// How an import went.
struct ImportResult {
    int imported = 0;
    int skipped = 0;      // songs or paths skipped or failed, each with a report line
    std::string failure;  // why nothing could be imported at all (data folder, music list)
    std::vector<std::wstring> titles;  // the titles imported, in order
};

// What else an import must respect.
struct ImportOptions {
    // Content folders read beside the data folder (the bundled content): their songs' titles
    // are taken, so an imported song never hides one of them or takes its scores.
    std::vector<std::filesystem::path> reservedFrom;
};

// Imports every song found in paths into the data folder dataDir.
ImportResult ImportSongs(const std::vector<std::filesystem::path>& paths,
                         const std::filesystem::path& dataDir, const ReportLine& report,
                         const ImportOptions& options = {});

}  // namespace importer
