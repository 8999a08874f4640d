// ChartIdentity: what a replay's chart is, as files: the SHA-256 digest of the chart file's
// bytes and the size of the song file the game would play (audio/SongFile decides which). A
// replay plays only on the chart and song it was recorded on; anything else would judge other
// notes at other times.
// Depends on: replay/Replay.h, platform/Checksum.h, platform/files (ContentFiles, FileSystem),
// audio/SongFile.h, gameplay/PlaySession.h (the chart's path).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "replay/Replay.h"

struct ChartIdentity {
    std::string chartDigest;
    int64_t songSize = -1;  // -1 when there is no song file
};

// The identity of the chart of title at level (1 to 3) as the game reads it now. False with
// the reason in error when the chart file cannot be read.
bool IdentifyChart(const std::wstring& title, int32_t level, ChartIdentity* identity,
                   std::string* error);
// The identity of a chart of title whose file's bytes are already in hand.
ChartIdentity IdentifyLoadedChart(const std::wstring& title, std::string_view chartBytes);
// The identity of the replay's chart now; false with "the chart of "TITLE" level N cannot be
// read: reason" in error.
bool IdentifyReplayChart(const Replay& replay, ChartIdentity* identity, std::string* error);

// True when now is the identity of the chart and song the replay was recorded on; false with a
// message naming what changed.
bool IdentityMatches(const Replay& replay, const ChartIdentity& now, std::string* why);
