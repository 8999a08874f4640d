// AudioFileInfo on libsndfile: the file's major format and subtype name its kind; frames over
// the sample rate give its length.
// Depends on: platform/AudioFileInfo.h, libsndfile.
#include <sndfile.h>

#include "platform/AudioFileInfo.h"

namespace platform {

namespace {

// Our name of a libsndfile format, or empty for a kind the game does not play.
std::string KindOf(int format) {
    switch (format & SF_FORMAT_TYPEMASK) {
        case SF_FORMAT_WAV:
        case SF_FORMAT_WAVEX:
            return "wav";
        case SF_FORMAT_OGG:
            return (format & SF_FORMAT_SUBMASK) == SF_FORMAT_OPUS ? "opus" : "ogg";
        case SF_FORMAT_FLAC:
            return "flac";
        case SF_FORMAT_MPEG:
            return "mp3";
        default:
            return {};
    }
}

}  // namespace

bool ReadAudioFileInfo(const std::string& path, AudioFileInfo* out, std::string* error) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (file == nullptr) {
        if (error) *error = sf_strerror(nullptr);
        return false;
    }
    sf_close(file);
    const std::string kind = KindOf(info.format);
    if (kind.empty()) {
        if (error) *error = "not Ogg, Opus, FLAC, MP3 or WAV";
        return false;
    }
    if (info.samplerate <= 0 || info.frames <= 0) {
        if (error) *error = "holds no sound";
        return false;
    }
    out->kind = kind;
    out->seconds = static_cast<double>(info.frames) / info.samplerate;
    return true;
}

}  // namespace platform
