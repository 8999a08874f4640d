// ImportCheck: what every song the importer reads must satisfy, shared by the fuzz targets of
// its readers: notes in time order with finite times, and every chart that has lanes converts
// into a chart the game reads back without a problem, each lane in ascending order.
// Depends on: import/SourceSong.h, import/ChartConversion.h, gameplay/ChartReader.h.
#pragma once

#include <cmath>

#include "gameplay/ChartReader.h"
#include "import/ChartConversion.h"
#include "import/SourceSong.h"

// Stops the fuzzer when a song breaks one of the rules above.
inline void CheckImportedSong(const importer::SourceSong& song) {
    for (const importer::SourceChart& chart : song.charts) {
        for (size_t i = 0; i < chart.notes.size(); ++i)
            if (!std::isfinite(chart.notes[i].seconds) ||
                (i > 0 && chart.notes[i].seconds < chart.notes[i - 1].seconds))
                __builtin_trap();
        if (importer::LanePlaces(chart.columns).empty()) continue;
        const importer::ConvertedChart converted = importer::ConvertChart(chart, 600.0);
        ChartContent read;
        if (!ParseChart(importer::ChartFileText(converted), "fuzz.nsd", read).empty())
            __builtin_trap();
        if (read.redNotes.size() + read.blueNotes.size() != converted.notes.size())
            __builtin_trap();
        for (const auto* lane : {&read.redNotes, &read.blueNotes})
            for (size_t i = 1; i < lane->size(); ++i)
                if (!((*lane)[i - 1].distance < (*lane)[i].distance)) __builtin_trap();
    }
}
