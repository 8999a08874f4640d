// ImportCommand: the paths are taken from the starting folder, the data folder from --data.
#include "shell/ImportCommand.h"

#include <cstdio>

#include "import/Importer.h"

int RunImport(const Options& options) {
    std::vector<std::filesystem::path> paths(options.importPaths.begin(),
                                             options.importPaths.end());
    const std::filesystem::path data = options.dataDir.empty() ? "." : options.dataDir;
    const importer::ImportResult result =
        importer::ImportSongs(paths, data, [](const std::string& line) {
            std::printf("%s\n", line.c_str());
            std::fflush(stdout);
        });
    if (!result.failure.empty()) {
        std::fprintf(stderr, "lyrandel: cannot import: %s\n", result.failure.c_str());
        return 1;
    }
    return result.skipped == 0 ? 0 : 1;
}
