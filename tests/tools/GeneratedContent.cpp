// Generator runs and file helpers shared by the demo content tests.
#include "GeneratedContent.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace testcontent {

namespace fs = std::filesystem;

// True when the build gave the tests the generator's path.
bool HaveGenerator() {
#ifdef LYRANDEL_DEMO_CONTENT_TOOL
    return true;
#else
    return false;
#endif
}

// Runs the generator into dir; returns its exit status.
int Generate(const fs::path& dir) {
#ifdef LYRANDEL_DEMO_CONTENT_TOOL
    std::string command =
        std::string("'") + LYRANDEL_DEMO_CONTENT_TOOL + "' '" + dir.string() + "'";
    int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#else
    (void)dir;
    return -1;
#endif
}

// A fresh, empty temporary folder.
fs::path MakeTempDir() {
    std::string pattern = (fs::temp_directory_path() / "lyrandel-content-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("cannot make a temporary folder");
    return pattern;
}

namespace {

// The shared tree, removed when the process ends.
struct SharedDir {
    fs::path path;
    SharedDir() {
        if (!HaveGenerator()) return;
        path = MakeTempDir();
        if (Generate(path) != 0) {
            std::error_code ec;
            fs::remove_all(path, ec);
            path.clear();
        }
    }
    ~SharedDir() {
        std::error_code ec;
        if (!path.empty()) fs::remove_all(path, ec);
    }
};

// Reads a little-endian value of the given byte count at offset.
uint32_t Le(const std::string& b, size_t offset, int bytes) {
    uint32_t v = 0;
    for (int i = bytes - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(b[offset + i]);
    return v;
}

}  // namespace

// The tree generated once for this process.
const fs::path& SharedTree() {
    static SharedDir dir;
    return dir.path;
}

// The whole content of a file.
std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Decodes a canonical 16-bit PCM WAV file (RIFF, fmt, data chunks).
Wav ReadWav(const fs::path& path) {
    Wav w;
    std::string b = ReadFile(path);
    if (b.size() < 44 || b.compare(0, 4, "RIFF") != 0 || b.compare(8, 8, "WAVEfmt ") != 0) return w;
    if (Le(b, 20, 2) != 1 || b.compare(36, 4, "data") != 0) return w;
    w.channels = static_cast<int>(Le(b, 22, 2));
    w.rate = static_cast<int>(Le(b, 24, 4));
    w.bits = static_cast<int>(Le(b, 34, 2));
    uint32_t bytes = Le(b, 40, 4);
    if (w.bits != 16 || 44 + static_cast<size_t>(bytes) != b.size() ||
        Le(b, 4, 4) != b.size() - 8) {
        return w;
    }
    w.samples.resize(bytes / 2);
    std::memcpy(w.samples.data(), b.data() + 44, bytes);
    w.ok = true;
    return w;
}

}  // namespace testcontent
