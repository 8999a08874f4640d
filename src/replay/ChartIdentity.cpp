// ChartIdentity: the digest of the chart file and the size of the song file, and the check.
#include "replay/ChartIdentity.h"

#include <sys/stat.h>

#include "audio/SongFile.h"
#include "gameplay/PlaySession.h"
#include "platform/Checksum.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"

namespace {

// Bytes of a regular file, or -1.
int64_t FileSize(const std::string& path) {
    struct stat info;
    if (::stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
    return static_cast<int64_t>(info.st_size);
}

// "\"TITLE\" level N".
std::string ChartName(const Replay& replay) {
    return "\"" + platform::WideToUtf8(replay.title) + "\" level " + std::to_string(replay.level);
}

}  // namespace

bool IdentifyChart(const std::wstring& title, int32_t level, ChartIdentity* identity,
                   std::string* error) {
    const std::string chart = platform::ContentPath(ChartPath(title, std::to_wstring(level)));
    std::string bytes, readError;
    const platform::ReadResult read = platform::ReadWholeFile(chart, &bytes, &readError);
    if (read != platform::ReadResult::kOk) {
        if (error)
            *error = read == platform::ReadResult::kMissing ? chart + ": missing file" : readError;
        return false;
    }
    *identity = IdentifyLoadedChart(title, bytes);
    return true;
}

ChartIdentity IdentifyLoadedChart(const std::wstring& title, std::string_view chartBytes) {
    const platform::FoundFile song = platform::FindContent(SongFilePath(title));
    return {platform::Sha256Hex(chartBytes), song.path.empty() ? -1 : FileSize(song.path)};
}

bool IdentifyReplayChart(const Replay& replay, ChartIdentity* identity, std::string* error) {
    std::string reason;
    if (IdentifyChart(replay.title, replay.level, identity, &reason)) return true;
    if (error) *error = "the chart of " + ChartName(replay) + " cannot be read: " + reason;
    return false;
}

bool IdentityMatches(const Replay& replay, const ChartIdentity& now, std::string* why) {
    if (now.chartDigest != replay.chartDigest) {
        if (why)
            *why = "the chart of " + ChartName(replay) +
                   " has changed since the replay was recorded; it would not play the same";
        return false;
    }
    if (now.songSize != replay.songSize) {
        auto size = [](int64_t n) {
            return n < 0 ? std::string("none") : std::to_string(n) + " bytes";
        };
        if (why)
            *why = "the song of \"" + platform::WideToUtf8(replay.title) +
                   "\" has changed since the replay was recorded (" + size(now.songSize) +
                   ", recorded " + size(replay.songSize) + ")";
        return false;
    }
    return true;
}
