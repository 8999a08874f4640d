// lyrandel-icons DIR: writes the game's icon, drawn at each size, into DIR/NxN/apps/ (the
// layout of the desktop's icon theme folders).
// Depends on: platform/IconArt.h, the demo content tool's PNG writer and file output.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <string>

#include "../demo_content/FileOut.h"
#include "../demo_content/PngWriter.h"
#include "platform/IconArt.h"

namespace {

constexpr int kSizes[] = {48, 64, 128, 256, 512};
constexpr const char* kIconName = "org.lyrandel.Lyrandel.png";

}  // namespace

// Writes every size; exit status 1 with a message on failure, 2 for a bad command line.
int main(int argc, char** argv) {
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: lyrandel-icons DIR\n");
        return 2;
    }
    try {
        for (int size : kSizes) {
            const std::string folder = std::to_string(size) + "x" + std::to_string(size);
            democontent::WriteFileAtomic(
                std::filesystem::path(argv[1]) / folder / "apps" / kIconName,
                democontent::EncodePng(size, size, platform::DrawIcon(size)));
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lyrandel-icons: %s\n", e.what());
        return 1;
    }
    return 0;
}
