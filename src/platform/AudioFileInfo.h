// AudioFileInfo: what the importer needs to know of a song file without playing it: its
// container (which names the copied file's extension) and its length.
// Implementation: libsndfile (platform/audioinfo).
// Depends on: nothing.
#pragma once

#include <string>

namespace platform {

struct AudioFileInfo {
    std::string kind;      // "wav", "ogg", "opus", "flac" or "mp3"
    double seconds = 0.0;  // length of the decoded sound
};

// Opens the sound file at path (UTF-8) and reads its kind and length; false with the reason in
// error when it cannot be read or is of another kind.
bool ReadAudioFileInfo(const std::string& path, AudioFileInfo* out, std::string* error);

}  // namespace platform
