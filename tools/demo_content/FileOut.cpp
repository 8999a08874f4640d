// Atomic whole-file writes, so an interrupted generation never leaves a torn file behind.
// Depends on: the standard library's filesystem and streams.
#include "FileOut.h"

#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>

namespace democontent {

namespace fs = std::filesystem;

// Writes bytes to path through a temporary file and a rename, creating parent folders.
void WriteFileAtomic(const fs::path& path, std::string_view bytes) {
    std::error_code ec;
    fs::create_directories(path.parent_path(), ec);
    if (ec) {
        throw std::runtime_error(path.parent_path().string() +
                                 ": cannot create folder: " + ec.message());
    }
    fs::path temp = path;
    temp += ".tmp";
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        out.close();
        if (!out) throw std::runtime_error(temp.string() + ": cannot write");
    }
    fs::rename(temp, path, ec);
    if (ec) {
        std::string reason = ec.message();
        fs::remove(temp, ec);
        throw std::runtime_error(path.string() + ": cannot replace: " + reason);
    }
}

}  // namespace democontent
