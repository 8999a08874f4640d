// AudioFileInfo on libsndfile: the file's major format and subtype name its kind; its frames
// over the sample rate give its length: as the container states them (WAV, FLAC, Ogg: exact),
// or counted by decoding where the file only estimates them (MP3). The conversion reads frames
// as floats and writes them to a FLAC file.
// Depends on: platform/AudioFileInfo.h, platform/files/SongFolder.h (flush), libsndfile.
#include <sndfile.h>

#include <vector>

#include "platform/AudioFileInfo.h"
#include "platform/files/SongFolder.h"

namespace platform {

namespace {

// Frames decoded at a time.
constexpr sf_count_t kPiece = 4096;
// The most channels a FLAC file holds.
constexpr int kMaxFlacChannels = 8;

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

// Decodes the whole file and counts its frames; -1 with the reason when decoding fails.
sf_count_t CountFrames(SNDFILE* file, int channels, std::string* error) {
    std::vector<float> piece(static_cast<size_t>(kPiece) * channels);
    sf_count_t total = 0;
    while (true) {
        const sf_count_t got = sf_readf_float(file, piece.data(), kPiece);
        if (got <= 0) break;
        total += got;
    }
    if (sf_error(file) != SF_ERR_NO_ERROR) {
        if (error) *error = std::string("cannot be decoded: ") + sf_strerror(file);
        return -1;
    }
    return total;
}

// The FLAC sample size that keeps a source's precision: 24 bits beyond 16, else 16.
int FlacSubtype(int format) {
    switch (format & SF_FORMAT_SUBMASK) {
        case SF_FORMAT_PCM_24:
        case SF_FORMAT_PCM_32:
        case SF_FORMAT_FLOAT:
        case SF_FORMAT_DOUBLE:
            return SF_FORMAT_PCM_24;
        default:
            return SF_FORMAT_PCM_16;
    }
}

// Copies every frame of in to out as floats; false on a read or write error.
bool CopyFrames(SNDFILE* in, SNDFILE* out, int channels) {
    std::vector<float> piece(static_cast<size_t>(kPiece) * channels);
    while (true) {
        const sf_count_t got = sf_readf_float(in, piece.data(), kPiece);
        if (got <= 0) return sf_error(in) == SF_ERR_NO_ERROR;
        if (sf_writef_float(out, piece.data(), got) != got) return false;
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
    const std::string kind = KindOf(info.format);
    sf_count_t frames = info.frames;
    // An MP3 file without a header of its length states one from its size and first frame.
    const bool estimated = kind == "mp3" || frames <= 0 || frames == SF_COUNT_MAX;
    if (!kind.empty() && estimated && info.samplerate > 0 && info.channels > 0)
        frames = CountFrames(file, info.channels, error);
    sf_close(file);
    if (kind.empty()) {
        if (error) *error = "not Ogg, Opus, FLAC, MP3 or WAV";
        return false;
    }
    if (frames < 0) return false;
    if (info.samplerate <= 0 || frames == 0) {
        if (error) *error = "holds no sound";
        return false;
    }
    out->kind = kind;
    out->seconds = static_cast<double>(frames) / info.samplerate;
    return true;
}

bool ConvertToFlac(const std::string& from, const std::string& to, std::string* error) {
    SF_INFO inInfo{};
    SNDFILE* in = sf_open(from.c_str(), SFM_READ, &inInfo);
    if (in == nullptr) {
        if (error) *error = std::string("cannot be read: ") + sf_strerror(nullptr);
        return false;
    }
    if (inInfo.channels > kMaxFlacChannels) {
        sf_close(in);
        if (error) *error = "has more than 8 channels, which FLAC cannot hold";
        return false;
    }
    SF_INFO outInfo{};
    outInfo.samplerate = inInfo.samplerate;
    outInfo.channels = inInfo.channels;
    outInfo.format = SF_FORMAT_FLAC | FlacSubtype(inInfo.format);
    SNDFILE* out = sf_open(to.c_str(), SFM_WRITE, &outInfo);
    if (out == nullptr) {
        sf_close(in);
        if (error) *error = std::string("cannot write ") + to + ": " + sf_strerror(nullptr);
        return false;
    }
    sf_command(out, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    bool ok = CopyFrames(in, out, inInfo.channels);
    if (!ok && error) *error = std::string("cannot convert to ") + to + ": " + sf_strerror(out);
    sf_close(in);
    sf_close(out);
    ok = ok && SyncFile(to);
    return ok;
}

}  // namespace platform
