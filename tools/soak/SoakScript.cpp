// lyrandel-soak-script: writes a headless key script that plays every chart of a content folder
// back to back, pass after pass, until the simulated time reaches the given minutes. Each pass
// visits every screen: title, configuration, selection, play and result. A screenshot after
// each pass marks its end, so a watcher can read the program's memory between passes.
// Usage: lyrandel-soak-script DATA_DIR MINUTES SCRIPT_OUT MARKER_PREFIX
// Depends on: selection/MusicList.h, gameplay/ChartReader.h, tests/support/PlayScript.h.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "gameplay/ChartReader.h"
#include "platform/Codepage.h"
#include "selection/MusicList.h"
#include "support/PlayScript.h"

namespace {

// One playable chart: its place in the selection and its notes.
struct SoakChart {
    int index = 0;
    int level = 0;
    ChartContent chart;
};

// Milliseconds a frame stands for on the simulated clock.
constexpr uint64_t kFrameMs = 16;

// Reads the music list and every playable chart of the folder (the working directory); count
// receives the number of list entries.
bool ReadCharts(std::vector<SoakChart>& charts, int& count, std::string& error) {
    std::vector<MusicEntry> entries;
    if (!ReadMusicList(entries, error, [](const std::wstring&) { return true; })) return false;
    count = static_cast<int>(entries.size());
    for (size_t i = 0; i < entries.size(); ++i) {
        for (int level = 0; level < 3; ++level) {
            if (entries[i].levels[level] < 1) continue;
            const std::string path = "Data/Music/" + platform::WideToUtf8(entries[i].title) + "/" +
                                     std::to_string(level + 1) + ".nsd";
            SoakChart soak{static_cast<int>(i), level, {}};
            const std::vector<std::string> problems = ReadChartFile(path, soak.chart);
            if (!problems.empty()) {
                error = problems.front();
                return false;
            }
            charts.push_back(std::move(soak));
        }
    }
    return true;
}

// Moves the selection's highlight from (index, level) to the chart's and confirms; returns
// the frame whose update hands over to the game.
uint64_t Choose(PlayScript& script, const SoakChart& chart, int count, int& index, int& level) {
    for (; index != chart.index; index = (index + 1) % count) script.Press("D");
    for (; level != chart.level; level = (level + 1) % 3) script.Press("W");
    return script.Press("SPACE");
}

// One pass from the title back to the title; ends with a screenshot at marker.
void AddPass(PlayScript& script, const std::vector<SoakChart>& charts, int count, int& index,
             int& level, const std::string& marker) {
    script.Press("E");  // the configuration
    script.Wait(30);
    script.Press("SPACE");  // back to the title ("Title" is highlighted first)
    script.Wait(30);
    script.Press("SPACE");  // the selection
    for (const SoakChart& chart : charts) {
        script.Wait(30);
        script.Play(Choose(script, chart, count, index, level), chart.chart);
    }
    script.Wait(30);
    script.Press("Q");  // back to the title
    script.Wait(30);
    script.Shot(script.nextFrame(), marker);
    script.Wait(2);
}

}  // namespace

// Writes the script and prints its passes and simulated length.
int main(int argc, char** argv) {
    if (argc != 5) {
        std::cerr << "usage: lyrandel-soak-script DATA_DIR MINUTES SCRIPT_OUT MARKER_PREFIX\n";
        return 2;
    }
    const std::filesystem::path start = std::filesystem::current_path();
    const std::filesystem::path scriptOut = std::filesystem::absolute(argv[3]);
    const uint64_t minutes = std::strtoull(argv[2], nullptr, 10);
    std::filesystem::current_path(argv[1]);
    std::vector<SoakChart> charts;
    std::string error;
    int count = 0;
    if (!ReadCharts(charts, count, error) || charts.empty()) {
        std::cerr << "lyrandel-soak-script: " << (error.empty() ? "no playable chart" : error)
                  << '\n';
        return 1;
    }
    std::filesystem::current_path(start);
    PlayScript script;
    script.Wait(60);  // the title settles
    int index = 0, level = 0, passes = 0;
    // At least two passes, so the first can be compared with the last.
    while (passes < 2 || script.nextFrame() * kFrameMs < minutes * 60000) {
        AddPass(script, charts, count, index, level,
                std::string(argv[4]) + std::to_string(++passes) + ".png");
    }
    script.Wait(600);  // time for a watcher to read the last figures before the quit
    std::ofstream(scriptOut) << script.Text();
    std::cout << "passes " << passes << " charts " << charts.size() << " frames "
              << script.nextFrame() << " simulated_minutes "
              << script.nextFrame() * kFrameMs / 60000.0 << '\n';
    return 0;
}
