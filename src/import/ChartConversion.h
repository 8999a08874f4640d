// ChartConversion: a source chart made into a chart file of ours. Each note is written at
// v = (62.5 t + 1) x BPM / 348750 for its time t in seconds of the audio (it reaches the hit line
// in the update that plays that sound), with BPM the longest-held tempo rounded into 1 to 600
// and Second the smallest whole count of the game's play seconds (60 updates each, with 5 more
// run past it) whose notes keep moving until the audio has ended. Notes the audio does not
// cover are dropped.
// Depends on: import/SourceSong.h, import/LaneMapping.h.
#pragma once

#include <string>

#include "import/LaneMapping.h"
#include "import/SourceSong.h"

namespace importer {

// Everything that was changed on the way, for the report.
struct ChartReport {
    int notes = 0;  // written
    PlacementCounts placement;
    int beforeAudio = 0;  // dropped: before the audio starts
    int afterAudio = 0;   // dropped: after the audio ends
    LeftOut leftOut;
};

struct ConvertedChart {
    int bpm = 0;
    int second = 0;
    std::vector<PlacedNote> notes;
    ChartReport report;
};

// The chart's BPM value: the tempo rounded, kept within 1 to 600 (120 for a tempo that is not
// a positive number).
int ChartBpm(double tempo);
// The value of a note at seconds into the audio, for a chart of that BPM.
double NoteValue(double seconds, int bpm);

// The smallest Second whose play lasts until audio of that length has ended (0 for short
// audio): a 200.5 s song needs 203, a 14.5 s song 10.
int ChartSecond(double audioSeconds);

// Converts a chart whose columns have a place (LanePlaces not empty).
ConvertedChart ConvertChart(const SourceChart& chart, double audioSeconds);

// The chart file's text: BPM, Second, then one note a line in ascending value.
std::string ChartFileText(const ConvertedChart& chart);

// "212 notes; 4 holds as taps; …" (only what happened besides the notes).
std::string ReportText(const ChartReport& report);

}  // namespace importer
