// DropImport: songs dropped on the window, imported into the player's data folder (as
// `lyrandel --import` does) on a thread of their own, so the frames keep their slots. The
// selection polls it each update for the report's lines and, once, for the end.
// Depends on: import/Importer.h, platform/files/ContentFiles.h, std::thread.
#pragma once

#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "import/Importer.h"

// What an import into the first content folder must respect: the songs of the folders read
// behind it (the bundled content) keep their titles, as with `lyrandel --import`.
importer::ImportOptions ImportOptionsForContent();

class DropImport {
  public:
    DropImport() = default;
    DropImport(const DropImport&) = delete;
    DropImport& operator=(const DropImport&) = delete;
    // Waits for an import still running (the songs it is putting in place stay whole).
    ~DropImport();

    // Starts importing paths into dataDir; false (nothing started) while one is running.
    bool Start(std::vector<std::string> paths, std::string dataDir,
               importer::ImportOptions options = {});
    // Blocks until the running import has ended (the headless mode's simulated clock).
    void Wait();
    // Moves the report lines written since the last call into lines; true once, in the call
    // that sees the import ended, with its result in result().
    bool Poll(std::vector<std::string>& lines);
    // True from Start until Poll has reported the end.
    bool running() const { return running_; }
    const importer::ImportResult& result() const { return result_; }

  private:
    std::thread thread_;
    std::mutex mutex_;
    // Written by the import thread under mutex_, read by the game's thread.
    std::vector<std::string> lines_;
    bool done_ = false;
    importer::ImportResult finished_;
    // Game thread: from Start until Poll has reported the end.
    bool running_ = false;
    // The last import's result, the game thread's own copy.
    importer::ImportResult result_;
};
