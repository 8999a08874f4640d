// ChartReader: the chart file grammar ("head[value]rest" entries, heads that run over line
// ends, note bodies such as "RU 2.5" and "RD,BU,4") read into a ChartContent, with every
// problem reported as "file:line: message". Usable on its own by the content checker.
// Depends on: gameplay/NoteRecord.h, settings/KeyValueReader.h (the bound of a read and the
// number conversion every game file shares).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "gameplay/NoteRecord.h"

struct ChartContent {
    // Values before reading are kept when the file has no such entry.
    int32_t BPM = 0;
    int32_t Second = 0;
    std::vector<NoteRecord> redNotes;
    std::vector<NoteRecord> blueNotes;
};

// Playable tempo values.
constexpr int32_t kMinBpm = 1;
constexpr int32_t kMaxBpm = 600;

// Reads the chart bytes; name is used in messages. Fills chart and returns its problems
// (empty when the chart is playable). Notes without a known direction are dropped.
std::vector<std::string> ParseChart(const std::string& bytes, const std::string& name,
                                    ChartContent& chart);
// Reads the chart file at path (UTF-8); a file that cannot be opened is one problem. With bytes,
// the file's bytes go there when it could be read.
std::vector<std::string> ReadChartFile(const std::string& path, ChartContent& chart,
                                       std::string* bytes = nullptr);
// Reads like ReadChartFile and also reports what an author would not mean: direction letters
// that give no note, and notes of one lane not in ascending distance.
std::vector<std::string> CheckChartFile(const std::string& path, ChartContent& chart);
// The reading behind both, with or without the authoring notes.
std::vector<std::string> ReadChart(const std::string& path, ChartContent& chart, bool authoring,
                                   std::string* bytes = nullptr);
