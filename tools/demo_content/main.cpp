// lyrandel-demo-content DIR: writes the game's demo content tree into DIR.
// Depends on: Generator.h.
#include <cstdio>
#include <cstring>
#include <exception>

#include "Generator.h"

// Parses the one argument and runs the generator; exit status 1 with a message on failure.
int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::printf(
            "usage: lyrandel-demo-content DIR\n"
            "Writes the demo content (settings, textures, sounds, songs, charts and the\n"
            "music list) into DIR. An existing DIR/Config.cfg is kept.\n");
        return 0;
    }
    if (argc != 2 || argv[1][0] == '\0') {
        std::fprintf(stderr, "usage: lyrandel-demo-content DIR\n");
        return 2;
    }
    try {
        democontent::GenerateContent(argv[1]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "lyrandel-demo-content: %s\n", e.what());
        return 1;
    }
    return 0;
}
