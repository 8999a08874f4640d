// ReplayShelf: where the replays are kept: "Replays/NAME/" for an account and "Replays/guest/"
// for runs played signed out, one file per run named after its time ("20240501-183005.lrp",
// "-2" and on when that is taken), written atomically and readable by the player alone (0600
// files, 0700 folders). After each new run a folder keeps each chart's best run (the highest
// score; of equal scores the earlier) and the last 50 runs; older ones are removed, and so are
// temporary files a crashed write left, all in one pass over the folder that reads the other
// replays one at a time and keeps only their summaries. A replay file that cannot be read is
// reported in one line and set aside, never used or removed.
// Depends on: replay/Replay.h, replay/ReplayFile.h, platform/files (AtomicFile, FileSystem,
// SetAside), platform/Codepage.h.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "replay/Replay.h"

inline constexpr size_t kKeptRecentRuns = 50;

// The folder of an account's replays (empty account: the guest's), relative to the player's
// folder.
std::string ReplayFolder(const std::wstring& account);

// The time now in UTC as replays write it, "YYYY-MM-DDTHH:MM:SSZ".
std::string UtcDateNow();

// What the keeping rule needs to know of one stored run.
struct ShelvedRun {
    std::string path;
    std::string date;
    std::wstring title;
    int32_t level = 0;
    std::string chartDigest;
    int32_t score = 0;
};

// The runs the rule no longer keeps (indices into runs): those outside the keepRecent latest
// (by date, then by name) that are not the best of their chart (title, level and digest).
std::vector<size_t> RunsToDrop(const std::vector<ShelvedRun>& runs,
                               size_t keepRecent = kKeptRecentRuns);

// Writes replay into its account's folder and removes what the rule no longer keeps; the new
// file's path goes into path. False with the reason in error (then nothing is removed).
bool ShelveReplay(const Replay& replay, std::string* path, std::string* error);

// The best stored run of a chart in an account's folder, recorded on that chart digest. False
// when there is none.
bool FindBestReplay(const std::wstring& account, const std::wstring& title, int32_t level,
                    const std::string& chartDigest, Replay* replay);
