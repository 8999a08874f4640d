// DataFolders: which folders a run reads and writes. With --data DIR, DIR alone holds
// everything, read and written, as it always has. Without it, the game runs on two folders:
// the player's folder (its working directory: everything the game writes, the player's own
// songs, searched first) and the bundled content, which is only read.
// Depends on: platform/files/PlayerFolder.h, platform/files/ContentFiles.h, shell/ContentCheck.h.
#pragma once

#include <string>

// The folder the game writes in: DIR of --data as given, else the player's folder (an
// absolute path), made on first use. The importer writes its songs there. False with one line
// in error.
bool WritableDataFolder(const std::string& dataDir, std::string* folder, std::string* error);

// Prepares a game run: the working directory becomes the folder it writes in and the content
// folders are set. Without --data the player's folder is also locked against a second game,
// and the bundled content must be there with no file missing. False with one line in error.
bool EnterGameFolders(const std::string& dataDir, std::string* error);

// Prepares a content check: like a game run, but an absent player's folder is not made (the
// bundled content is checked alone) and nothing is locked or written.
bool EnterCheckFolders(const std::string& dataDir, std::string* error);
