// ImportCommand: the paths are taken from the starting folder; the songs go into --data's
// folder, else the player's folder (made on first use), never into the bundled content.
// Depends on: import/Importer, shell/DataFolders, platform/files/PlayerFolder (the bundled
// content, whose titles stay its own).
#include "shell/ImportCommand.h"

#include <cstdio>

#include "import/Importer.h"
#include "platform/files/PlayerFolder.h"
#include "shell/DataFolders.h"

int RunImport(const Options& options) {
    std::vector<std::filesystem::path> paths(options.importPaths.begin(),
                                             options.importPaths.end());
    std::string folder, error;
    if (!WritableDataFolder(options.dataDir, &folder, &error)) {
        std::fprintf(stderr, "lyrandel: %s\n", error.c_str());
        return 1;
    }
    const std::filesystem::path data = folder;
    // Into the player's folder, the bundled songs' titles stay theirs.
    importer::ImportOptions importOptions;
    if (options.dataDir.empty()) {
        std::string tried;
        const std::string bundled = platform::BundledFolder(&tried);
        if (!bundled.empty()) importOptions.reservedFrom.push_back(bundled);
    }
    const importer::ImportResult result = importer::ImportSongs(
        paths, data,
        [](const std::string& line) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        },
        importOptions);
    if (!result.failure.empty()) {
        std::fprintf(stderr, "lyrandel: cannot import: %s\n", result.failure.c_str());
        return 1;
    }
    return result.skipped == 0 ? 0 : 1;
}
