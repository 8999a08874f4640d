// PlaySession: the process-wide chart record and its loading from the chosen chart file.
#include "gameplay/PlaySession.h"

#include <cstdio>

#include "gameplay/ChartReader.h"
#include "platform/files/ContentFiles.h"
#include "selection/MusicChoice.h"

PlaySession& GetPlaySession() {
    static PlaySession session;
    return session;
}

std::wstring ChartPath(const std::wstring& title, const std::wstring& level) {
    return L"Data/Music/" + title + L"/" + level + L".nsd";
}

bool PlaySession::LoadChart() {
    const MusicChoice& choice = GetMusicChoice();
    const std::string path = platform::ContentPath(ChartPath(choice.title, choice.level));
    // Read into a copy so that an unplayable chart leaves the record as it was.
    ChartContent chart{BPM, Second, {}, {}};
    std::string bytes;
    std::vector<std::string> problems = ReadChartFile(path, chart, &bytes);
    redNotes.clear();
    blueNotes.clear();
    if (!problems.empty()) {
        std::fprintf(stderr, "lyrandel: %s\n", problems.front().c_str());
        return false;
    }
    BPM = chart.BPM;
    Second = chart.Second;
    redNotes = std::move(chart.redNotes);
    blueNotes = std::move(chart.blueNotes);
    noteCount = static_cast<int32_t>(redNotes.size() + blueNotes.size());
    chartBytes = std::move(bytes);
    titleScroll = 0;
    titleScrollTick = 0;
    return true;
}
