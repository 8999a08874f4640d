// DropImport: one import thread at a time; its lines and result cross to the game's thread
// under one lock.
#include "selection/DropImport.h"

#include <cstdio>
#include <filesystem>

#include "platform/files/ContentFiles.h"

DropImport::~DropImport() {
    if (!thread_.joinable()) return;
    bool done;
    {
        std::lock_guard<std::mutex> lock(mutex_);
        done = done_;
    }
    if (!done)
        std::fprintf(stderr, "lyrandel: waiting for the import of the dropped songs to finish\n");
    thread_.join();
}

importer::ImportOptions ImportOptionsForContent() {
    importer::ImportOptions options;
    const std::vector<std::string>& folders = platform::ContentFolders();
    for (size_t i = 1; i < folders.size(); ++i) options.reservedFrom.push_back(folders[i]);
    return options;
}

bool DropImport::Start(std::vector<std::string> paths, std::string dataDir,
                       importer::ImportOptions options) {
    if (running_) return false;
    if (thread_.joinable()) thread_.join();
    done_ = false;
    running_ = true;
    thread_ = std::thread([this, paths = std::move(paths), dataDir = std::move(dataDir),
                           options = std::move(options)] {
        const std::vector<std::filesystem::path> sources(paths.begin(), paths.end());
        importer::ImportResult result = importer::ImportSongs(
            sources, dataDir,
            [this](const std::string& line) {
                std::lock_guard<std::mutex> lock(mutex_);
                lines_.push_back(line);
            },
            options);
        std::lock_guard<std::mutex> lock(mutex_);
        finished_ = std::move(result);
        done_ = true;
    });
    return true;
}

void DropImport::Wait() {
    if (thread_.joinable()) thread_.join();
}

bool DropImport::Poll(std::vector<std::string>& lines) {
    std::lock_guard<std::mutex> lock(mutex_);
    for (std::string& line : lines_) lines.push_back(std::move(line));
    lines_.clear();
    if (!running_ || !done_) return false;
    running_ = false;
    result_ = std::move(finished_);
    return true;
}
