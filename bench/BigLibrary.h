// BigLibrary: a content folder of many songs for the selection's benchmarks, made from the demo
// content: a music list of `songs` titles (each demo song's title with a number), a distinct
// 256x256 jacket PNG for each (the demo jacket with the number stamped on it as bars), packs of
// a hundred songs in the packs file, and the charts and song files shared as links to the
// demo's. Written once; a complete folder is reused.
// Depends on: selection/MusicList.h, platform (Codepage, ImageCodec).
#pragma once

#include <filesystem>
#include <string>

// Makes the library in out from the demo content folder demo; false with the reason in error.
bool MakeBigLibrary(const std::filesystem::path& demo, const std::filesystem::path& out, int songs,
                    std::string* error);

// The demo content folder of the build the benchmarks belong to: LYRANDEL_BENCH_DEMO_CONTENT
// when set, else "demo-content" beside the benchmark program's folder; empty when missing.
std::filesystem::path FindDemoContent();
