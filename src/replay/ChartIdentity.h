// ChartIdentity: what a replay's chart is, as files: the SHA-256 digest of the chart file's
// bytes and the size of the song file the game would play (audio/SongFile decides which). A
// replay plays only on the chart and song it was recorded on; anything else would judge other
// notes at other times.
// Depends on: replay/Replay.h, platform/Checksum.h, platform/files (ContentFiles, FileSystem),
// audio/SongFile.h, gameplay/PlaySession.h (the chart's path).
#pragma once

#include <cstdint>
#include <string>

#include "replay/Replay.h"

struct ChartIdentity {
    std::string chartDigest;
    int64_t songSize = -1;  // -1 when there is no song file
};

// The identity of the chart of title at level (1 to 3) as the game reads it now. False with
// the reason in error when the chart file cannot be read.
bool IdentifyChart(const std::wstring& title, int32_t level, ChartIdentity* identity,
                   std::string* error);

// True when the chart and song of the replay are those it was recorded on; false with a
// message naming what changed.
bool ReplayChartMatches(const Replay& replay, std::string* error);
