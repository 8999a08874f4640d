// PlayerFolder: where an installed game keeps the player's own files and where it finds its
// bundled content. The player's folder is $XDG_DATA_HOME/lyrandel (by default
// ~/.local/share/lyrandel), private to the player (0700), and used by one game at a time
// through a lock file. The bundled content lies at ../share/lyrandel beside the program, so a
// relocated installation still finds it.
// Depends on: POSIX (environment, mkdir, flock, /proc/self/exe).
#pragma once

#include <string>

namespace platform {

// The player's folder named by the environment; false with the reason when neither
// XDG_DATA_HOME (absolute) nor HOME is set.
bool PlayerFolderPath(std::string* folder, std::string* error);

// Makes the folder and its missing parents, the folder itself private (0700); an existing
// folder is left as it is. False with "cannot make the player's folder FOLDER: reason".
bool MakePlayerFolder(const std::string& folder, std::string* error);

// Checks that an existing player's folder is the player's own: refused, with one line saying
// why, when another user owns it or others may write in it (anyone who can write there could
// change the songs, the settings and the save files). True when it is the running user's and
// only theirs to write.
bool CheckPlayerFolderIsOwn(const std::string& folder, std::string* error);

// Takes the lock of a folder for the rest of the process ("lyrandel.lock" in it, released
// when the process ends, however it ends). False with a one-line reason when another process
// holds it, or when the folder cannot be written.
bool LockFolder(const std::string& folder, std::string* error);

// The bundled content folder: ../share/lyrandel from the program's own folder, or, for a
// program run from its build folder, the demo content generated beside it. Empty when
// neither exists; tried names go into *tried.
std::string BundledFolder(std::string* tried);

}  // namespace platform
