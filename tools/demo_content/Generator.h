// Generator: writes the complete demo content tree (settings, textures, sounds, songs, charts
// and the music list) into one folder, the same bytes every time.
// Depends on: the standard library's filesystem.
#pragma once

#include <filesystem>
#include <string>

namespace democontent {

// Writes the tree under root. An existing "Config.cfg" is the player's and is kept; every other
// file is replaced. Throws std::runtime_error naming the file that could not be made.
void GenerateContent(const std::filesystem::path& root);

// True when a title can serve as a folder and file name and as a music list entry.
bool IsSafeTitle(const std::wstring& title);

}  // namespace democontent
