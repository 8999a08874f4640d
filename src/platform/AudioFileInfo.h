// AudioFileInfo: what the importer needs to know of a song file without playing it: its
// container (which names the copied file's extension) and its exact length; and the conversion
// of a sound to FLAC.
// Implementation: libsndfile (platform/audioinfo).
// Depends on: nothing.
#pragma once

#include <string>

namespace platform {

struct AudioFileInfo {
    std::string kind;      // "wav", "ogg", "opus", "flac" or "mp3"
    double seconds = 0.0;  // length of the decoded sound, to the sample frame
};

// Opens the sound file at path (UTF-8) and reads its kind and length; false with the reason in
// error when it cannot be read or is of another kind. WAV, FLAC and Ogg files state their
// length exactly; an MP3 file is decoded whole and its frames counted, since one without a
// header of its length only estimates it (and one that fails part way is refused).
bool ReadAudioFileInfo(const std::string& path, AudioFileInfo* out, std::string* error);

// Writes the sound of the file from as a new FLAC file to (samples of more than 16 bits kept as
// 24 bits), for sounds the game cannot play in their own format. False with the reason in error.
bool ConvertToFlac(const std::string& from, const std::string& to, std::string* error);

}  // namespace platform
