// Importing a pack of 50 songs (written here): simfiles of three 8-column charts each, a
// 2-minute Ogg song per folder and, for half of them, a 640x480 background picture (the others
// get drawn jackets). Reports the wall time per song. And importing again one song of a
// library of 300, which swaps in a tree of hard links of the whole library.
// Depends on: import/Importer.h, platform/ImageCodec.h, libsndfile.
#include <benchmark/benchmark.h>
#include <sndfile.h>
#include <unistd.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "import/Importer.h"
#include "platform/ImageCodec.h"

namespace fs = std::filesystem;

namespace {

constexpr int kSongs = 50;
constexpr int kSongSeconds = 120;
constexpr int kLibrarySongs = 300;

// A quiet tone of that many seconds as Ogg Vorbis.
void WriteSong(const fs::path& path, int seconds = kSongSeconds) {
    constexpr int rate = 44100;
    SF_INFO info{};
    info.samplerate = rate;
    info.channels = 2;
    info.format = SF_FORMAT_OGG | SF_FORMAT_VORBIS;
    SNDFILE* file = sf_open(path.c_str(), SFM_WRITE, &info);
    std::vector<float> second(rate * 2);
    for (int s = 0; s < seconds; ++s) {
        for (int i = 0; i < rate; ++i)
            second[i * 2] = second[i * 2 + 1] = 0.2f * std::sin(2 * 3.14159f * 220.f * i / rate);
        sf_writef_float(file, second.data(), rate);
    }
    sf_close(file);
}

// One chart of notes every `step` beats over 120 s at 150 beats a minute, walking the columns.
std::string Chart(const char* difficulty, int meter, int rowsPerNote) {
    std::ostringstream out;
    out << "#NOTES:dance-double::" << difficulty << ":" << meter << "::\n";
    for (int measure = 0; measure < 75; ++measure) {
        for (int row = 0; row < 16; ++row) {
            std::string cells(8, '0');
            if (row % rowsPerNote == 0) cells[(measure * 16 + row) / rowsPerNote % 8] = '1';
            out << cells << "\n";
        }
        out << (measure + 1 < 75 ? ",\n" : ";\n");
    }
    return out.str();
}

// A folder removed when the program ends.
struct TempFolder {
    fs::path path;
    ~TempFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
};

// The pack, written once for every run of the benchmark.
fs::path Pack() {
    static const TempFolder pack{[] {
        const fs::path root =
            fs::temp_directory_path() / ("lyrandel-bench-pack-" + std::to_string(::getpid()));
        fs::remove_all(root);
        fs::create_directories(root);
        WriteSong(root / "song.ogg");
        platform::Image picture{640, 480, std::vector<uint8_t>(640 * 480 * 4)};
        for (size_t i = 0; i < picture.rgba.size(); ++i)
            picture.rgba[i] = static_cast<uint8_t>(i * 7 / 640);
        std::string error;
        platform::WriteOpaquePng((root / "bg.png").string(), picture, &error);
        const std::string charts =
            Chart("Easy", 3, 8) + Chart("Medium", 6, 4) + Chart("Hard", 9, 2);
        for (int i = 0; i < kSongs; ++i) {
            const fs::path folder = root / "pack" / ("Song " + std::to_string(i));
            fs::create_directories(folder);
            fs::copy_file(root / "song.ogg", folder / "song.ogg");
            if (i % 2 == 0) fs::copy_file(root / "bg.png", folder / "bg.png");
            std::ofstream(folder / "song.sm")
                << "#TITLE:Song " << i << ";#ARTIST:Bench;#MUSIC:song.ogg;"
                << (i % 2 == 0 ? "#BACKGROUND:bg.png;" : "") << "#OFFSET:-0.1;#BPMS:0=150;\n"
                << charts;
        }
        return root;
    }()};
    return pack.path;
}

}  // namespace

// Wall time of importing the whole pack into an empty data folder.
static void BM_ImportPackOf50Songs(benchmark::State& state) {
    const fs::path root = Pack();
    int imported = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path data = root / "data";
        fs::remove_all(data);
        fs::create_directories(data);
        state.ResumeTiming();
        imported = importer::ImportSongs({root / "pack"}, data, [](const std::string&) {}).imported;
    }
    if (imported != kSongs) state.SkipWithError("not every song was imported");
    state.counters["s_per_song"] = benchmark::Counter(
        kSongs, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ImportPackOf50Songs)->Unit(benchmark::kMillisecond)->Iterations(1)->UseRealTime();

// Wall time of importing again one song of a library of 300 songs (each a folder of a chart
// and a song file, and a jacket): the replacement is put in place by swapping the library's
// tree with one of hard links that holds the new song and list.
static void BM_ReimportOneSongOfALibraryOf300(benchmark::State& state) {
    const fs::path root = Pack(), data = root / "library", source = root / "again";
    fs::remove_all(data);
    fs::create_directories(data / "Data/Music");
    fs::create_directories(data / "Data/Texture");
    std::ofstream list(data / "Data/Music/0.nld");
    for (int i = 0; i < kLibrarySongs; ++i) {
        const std::string title = "Library " + std::to_string(i);
        list << title << "[3:0:0]Bench\n";
        fs::create_directories(data / "Data/Music" / title);
        std::ofstream(data / "Data/Music" / title / "1.nsd") << "BPM[150]\nSecond[10]\n";
        std::ofstream(data / "Data/Music" / title / (title + ".ogg")) << "song";
        std::ofstream(data / "Data/Texture" / (title + ".png")) << "jacket";
    }
    list.close();
    fs::create_directories(source);
    WriteSong(source / "song.ogg", 5);
    std::ofstream(source / "song.sm") << "#TITLE:Library 7;#ARTIST:Bench;#MUSIC:song.ogg;"
                                      << "#OFFSET:0;#BPMS:0=150;\n"
                                      << Chart("Easy", 3, 8);
    int imported = 0;
    for (auto _ : state)
        imported += importer::ImportSongs({source}, data, [](const std::string&) {}).imported;
    if (imported != static_cast<int>(state.iterations())) state.SkipWithError("not imported");
    fs::remove_all(data);
    fs::remove_all(source);
}
BENCHMARK(BM_ReimportOneSongOfALibraryOf300)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(10)
    ->UseRealTime();
