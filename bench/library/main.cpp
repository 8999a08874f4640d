// lyrandel-bench-library: writes the benchmarks' library of many songs for the whole-program
// measurements of scripts/bench.sh.
// Usage: lyrandel-bench-library DEMO-CONTENT OUT [SONGS]   (SONGS: 10000 unless given)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "../BigLibrary.h"

int main(int argc, char** argv) {
    if (argc < 3 || argc > 4) {
        std::fprintf(stderr, "usage: lyrandel-bench-library DEMO-CONTENT OUT [SONGS]\n");
        return 2;
    }
    const int songs = argc == 4 ? std::atoi(argv[3]) : 10000;
    if (songs < 1 || songs > 10000) {
        std::fprintf(stderr, "lyrandel-bench-library: SONGS must be 1 to 10000\n");
        return 2;
    }
    std::string error;
    if (!MakeBigLibrary(argv[1], argv[2], songs, &error)) {
        std::fprintf(stderr, "lyrandel-bench-library: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
