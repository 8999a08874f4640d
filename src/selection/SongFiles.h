// SongFiles: the files one song of the music list needs, read with the game's own readers: its
// jacket, its song file ("TITLE.wav", else the first compressed ending there is), and the chart
// of each level rated 1 or more. Shared by the content check, the selection's rule for the
// player's songs and the importer's read-back of a song before it is listed, so that all three
// agree on what the game can play.
// Depends on: selection/MusicList.h, audio/SongFile.h, gameplay/ChartReader.h,
// media/WAVFileReader.h, platform/AudioDecoder.h, platform/ImageCodec.h, platform/PngHeader.h.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "audio/SongFile.h"
#include "selection/MusicList.h"

// How deep a check looks: every byte, or only that every file is there and the music list
// and charts read (cheap enough for every start of the game).
enum class CheckDepth { kFull, kPresence };

// What a song check reads.
struct SongCheck {
    CheckDepth depth = CheckDepth::kFull;
    bool jacket = true;      // the jacket too (the content check reads it with the list)
    bool authoring = false;  // charts also report what an author would not mean
    bool wholeSound = true;  // at full depth, a compressed song decoded whole, not only opened
};

// Problems of a picture read as a texture, "path: message": a missing file, and at full depth a
// picture that does not decode.
void PictureProblems(const std::string& path, CheckDepth depth, std::vector<std::string>& out);
// Problems of a jacket: a missing file, a damaged header or a side over the jackets' limit
// (as the selection checks it), and at full depth a picture that does not decode.
void JacketProblems(const std::string& path, CheckDepth depth, std::vector<std::string>& out);
// Problems of a sound file, "path: message": missing, and at full depth one the game cannot
// read or play (a compressed one is decoded from its first sample to its last, or with whole
// false only opened and its first piece decoded).
void SoundProblems(const std::string& path, bool compressed, CheckDepth depth,
                   std::vector<std::string>& out, bool whole = true);

// Every problem of one song's files, in the order jacket, song file, charts by level.
std::vector<std::string> SongProblems(const MusicEntry& entry, const LocateFile& locate,
                                      const SongCheck& check);
