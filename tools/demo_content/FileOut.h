// File output for the generator: folders on demand and whole files replaced atomically.
// Depends on: the standard library's filesystem.
#pragma once

#include <filesystem>
#include <string_view>

namespace democontent {

// Writes bytes to path through a temporary file and a rename, creating parent folders.
// Throws std::runtime_error naming the file when anything fails.
void WriteFileAtomic(const std::filesystem::path& path, std::string_view bytes);

}  // namespace democontent
