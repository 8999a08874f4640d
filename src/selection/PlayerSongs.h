// PlayerSongs: the rule for the songs of the player's folder. A song there whose files cannot
// be read (a deleted chart, a damaged jacket, a missing song file) is left out of the selection
// with one line on stderr naming it and why, so that one bad song never locks the player out of
// the others; the bundled content and --data keep the rule that a bad entry stops the
// selection. A song's files are read again only when one of them changed since the last look,
// so that each visit to the selection stays cheap.
// Depends on: selection/SongFiles.h, platform/files/ContentFiles.h.
#pragma once

#include <cstddef>
#include <string>

#include "selection/MusicList.h"

// Why a song of the content folder of that index cannot be played (the first problem of its
// jacket, song file and charts), or empty when it can.
std::string PlayerSongProblem(const MusicEntry& entry, size_t folder);

// Writes "lyrandel: song "TITLE" left out: REASON" on stderr, once per song and reason in the
// life of the process.
void ReportLeftOutSong(const std::wstring& title, const std::string& reason);
