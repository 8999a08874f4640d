// DataFolders: --data alone, or the player's folder with the bundled content behind it.
#include "shell/DataFolders.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "platform/files/ContentFiles.h"
#include "platform/files/PlayerFolder.h"
#include "shell/ContentCheck.h"

namespace {

// Makes the working directory the folder; false with a reason.
bool Enter(const std::string& folder, std::string* error) {
    if (::chdir(folder.c_str()) == 0) return true;
    *error = "cannot enter " + folder + ": " + std::strerror(errno);
    return false;
}

// The --data folder: entered and searched alone, as the game always did.
bool EnterSingleFolder(const std::string& dataDir, std::string* error) {
    if (::chdir(dataDir.c_str()) != 0) {
        *error = "cannot enter the content directory " + dataDir;
        return false;
    }
    platform::SetContentFolders({""});
    return true;
}

// The bundled content folder, or false with what was looked for.
bool FindBundled(std::string* bundled, std::string* error) {
    std::string tried;
    *bundled = platform::BundledFolder(&tried);
    if (!bundled->empty()) return true;
    *error = "the bundled content is missing: " + tried +
             " does not exist (reinstall the game, or give --data DIR)";
    return false;
}

// Checks that no bundled file the game reads is missing and that its music list and charts
// read; false with the first problem in the check's words.
bool BundledIsWhole(const std::string& bundled, std::string* error) {
    platform::SetContentFolders({bundled});
    const std::vector<std::string> problems = CheckContent(CheckDepth::kPresence);
    if (problems.empty()) return true;
    *error = problems.front() + " (the bundled content is damaged";
    if (problems.size() > 1) *error += "; " + std::to_string(problems.size() - 1) + " more";
    *error += "; lyrandel --check lists every problem)";
    return false;
}

}  // namespace

bool WritableDataFolder(const std::string& dataDir, std::string* folder, std::string* error) {
    if (!dataDir.empty()) {
        *folder = dataDir;
        return true;
    }
    std::string path;
    if (!platform::PlayerFolderPath(&path, error)) return false;
    // Absolute, so entering it later does not move it (a relative HOME).
    path = std::filesystem::absolute(path).lexically_normal().string();
    if (!platform::MakePlayerFolder(path, error)) return false;
    if (!platform::CheckPlayerFolderIsOwn(path, error)) return false;
    *folder = path;
    return true;
}

bool EnterGameFolders(const std::string& dataDir, std::string* error) {
    if (!dataDir.empty()) return EnterSingleFolder(dataDir, error);
    std::string player, bundled;
    if (!WritableDataFolder(dataDir, &player, error)) return false;
    if (!platform::LockFolder(player, error)) return false;
    if (!FindBundled(&bundled, error) || !BundledIsWhole(bundled, error)) return false;
    if (!Enter(player, error)) return false;
    platform::SetContentFolders({player, bundled});
    return true;
}

bool EnterCheckFolders(const std::string& dataDir, std::string* error) {
    if (!dataDir.empty()) return EnterSingleFolder(dataDir, error);
    std::string player, bundled;
    if (!FindBundled(&bundled, error)) return false;
    // Without a player's folder the bundled content is checked alone, "Config.cfg" included.
    std::error_code ignored;
    if (!platform::PlayerFolderPath(&player, error) ||
        !std::filesystem::is_directory(player, ignored)) {
        platform::SetContentFolders({bundled});
        return Enter(bundled, error);
    }
    player = std::filesystem::absolute(player).lexically_normal().string();
    if (!platform::CheckPlayerFolderIsOwn(player, error)) return false;
    if (!Enter(player, error)) return false;
    platform::SetContentFolders({player, bundled});
    return true;
}
