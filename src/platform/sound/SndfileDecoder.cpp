// The compressed-song decoder on libsndfile (Ogg Vorbis, Opus, FLAC, MP3): float samples a
// piece at a time, the speaker of each channel from the file's own map or the usual order of
// its codec, and a check before each piece that the file is still the one opened.
// Depends on: platform/AudioDecoder.h, libsndfile, POSIX file calls.
#include <fcntl.h>
#include <sndfile.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "platform/AudioDecoder.h"

namespace platform {
namespace {

// Speaker bits of the WAV channel mask.
constexpr uint32_t FL = 0x1, FR = 0x2, FC = 0x4, LFE = 0x8, BL = 0x10, BR = 0x20, BC = 0x100,
                   SL = 0x200, SR = 0x400;

// The usual order of 1 to 8 channels in WAV-like files (FLAC, MP3).
const std::vector<uint32_t> kWaveOrder[9] = {
    {},
    {FC},
    {FL, FR},
    {FL, FR, FC},
    {FL, FR, BL, BR},
    {FL, FR, FC, BL, BR},
    {FL, FR, FC, LFE, BL, BR},
    {FL, FR, FC, LFE, BC, SL, SR},
    {FL, FR, FC, LFE, BL, BR, SL, SR},
};

// The order of 1 to 8 channels in Vorbis and Opus streams: the centre sits between the fronts
// and the low-frequency channel comes last.
const std::vector<uint32_t> kVorbisOrder[9] = {
    {},
    {FC},
    {FL, FR},
    {FL, FC, FR},
    {FL, FR, BL, BR},
    {FL, FC, FR, BL, BR},
    {FL, FC, FR, BL, BR, LFE},
    {FL, FC, FR, SL, SR, BC, LFE},
    {FL, FC, FR, SL, SR, BL, BR, LFE},
};

// The speaker bit of one of libsndfile's channel-map entries; 0 when it has no place.
uint32_t SpeakerOfMapEntry(int entry) {
    switch (entry) {
        case SF_CHANNEL_MAP_MONO:
        case SF_CHANNEL_MAP_CENTER:
        case SF_CHANNEL_MAP_FRONT_CENTER:
            return FC;
        case SF_CHANNEL_MAP_LEFT:
        case SF_CHANNEL_MAP_FRONT_LEFT:
            return FL;
        case SF_CHANNEL_MAP_RIGHT:
        case SF_CHANNEL_MAP_FRONT_RIGHT:
            return FR;
        case SF_CHANNEL_MAP_REAR_CENTER:
            return BC;
        case SF_CHANNEL_MAP_REAR_LEFT:
            return BL;
        case SF_CHANNEL_MAP_REAR_RIGHT:
            return BR;
        case SF_CHANNEL_MAP_LFE:
            return LFE;
        case SF_CHANNEL_MAP_FRONT_LEFT_OF_CENTER:
            return 0x40;
        case SF_CHANNEL_MAP_FRONT_RIGHT_OF_CENTER:
            return 0x80;
        case SF_CHANNEL_MAP_SIDE_LEFT:
            return SL;
        case SF_CHANNEL_MAP_SIDE_RIGHT:
            return SR;
        case SF_CHANNEL_MAP_TOP_CENTER:
            return 0x800;
        case SF_CHANNEL_MAP_TOP_FRONT_LEFT:
            return 0x1000;
        case SF_CHANNEL_MAP_TOP_FRONT_CENTER:
            return 0x2000;
        case SF_CHANNEL_MAP_TOP_FRONT_RIGHT:
            return 0x4000;
        case SF_CHANNEL_MAP_TOP_REAR_LEFT:
            return 0x8000;
        case SF_CHANNEL_MAP_TOP_REAR_CENTER:
            return 0x10000;
        case SF_CHANNEL_MAP_TOP_REAR_RIGHT:
            return 0x20000;
        default:
            return 0;
    }
}

// The speakers of an open file's channels.
std::vector<uint32_t> SpeakersOf(SNDFILE* file, const SF_INFO& info) {
    size_t channels = size_t(info.channels);
    std::vector<int> map(channels);
    if (sf_command(file, SFC_GET_CHANNEL_MAP_INFO, map.data(), int(sizeof(int) * channels))) {
        std::vector<uint32_t> speakers;
        for (int entry : map) speakers.push_back(SpeakerOfMapEntry(entry));
        return speakers;
    }
    int subtype = info.format & SF_FORMAT_SUBMASK;
    bool vorbisOrder = subtype == SF_FORMAT_VORBIS || subtype == SF_FORMAT_OPUS;
    std::vector<uint32_t> speakers =
        channels <= 8 ? (vorbisOrder ? kVorbisOrder : kWaveOrder)[channels] : kWaveOrder[8];
    speakers.resize(channels, 0);
    return speakers;
}

// The modification time of a stat record, in nanoseconds.
int64_t ModifiedOf(const struct stat& st) {
    return int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

class SndfileDecoder final : public AudioDecoder {
  public:
    SndfileDecoder(SNDFILE* file, int fd, const SF_INFO& info, const struct stat& st)
        : file_(file), fd_(fd), size_(st.st_size), modified_(ModifiedOf(st)) {
        format_.channels = uint32_t(info.channels);
        format_.rate = uint32_t(info.samplerate);
        format_.frames = info.frames > 0 ? uint64_t(info.frames) : 0;
        format_.speakers = SpeakersOf(file, info);
    }
    ~SndfileDecoder() override { sf_close(file_); }  // closes the descriptor too

    const DecodedFormat& Format() const override { return format_; }

    bool Read(float* out, size_t frames, size_t* got, std::string* error) override {
        *got = 0;
        if (!Unchanged(error)) return false;
        sf_count_t n = sf_readf_float(file_, out, sf_count_t(frames));
        if (n < 0 || sf_error(file_) != SF_ERR_NO_ERROR) {
            if (error) *error = sf_strerror(file_);
            return false;
        }
        *got = size_t(n);
        return true;
    }

    bool Seek(uint64_t frame, std::string* error) override {
        if (!Unchanged(error)) return false;
        if (sf_seek(file_, sf_count_t(frame), SEEK_SET) < 0) {
            if (error) *error = sf_strerror(file_);
            return false;
        }
        return true;
    }

  private:
    // False with the reason when the file has been cut or rewritten since it was opened.
    bool Unchanged(std::string* error) const {
        struct stat st {};
        if (::fstat(fd_, &st) != 0) {
            if (error) *error = std::strerror(errno);
            return false;
        }
        if (st.st_size == size_ && ModifiedOf(st) == modified_) return true;
        if (error)
            *error = st.st_size < size_ ? "the file was cut short while it played"
                                        : "the file was rewritten while it played";
        return false;
    }

    SNDFILE* file_;
    int fd_;
    off_t size_;
    int64_t modified_;
    DecodedFormat format_;
};

}  // namespace

std::unique_ptr<AudioDecoder> OpenAudioDecoder(const std::string& path, int* systemError,
                                               std::string* error) {
    if (systemError) *systemError = 0;
    int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    struct stat st {};
    if (fd < 0 || ::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        int failure = fd < 0 ? errno : S_ISDIR(st.st_mode) ? EISDIR : errno;
        if (fd >= 0) ::close(fd);
        if (systemError) *systemError = failure;
        if (error) *error = std::strerror(failure);
        return nullptr;
    }
    SF_INFO info{};
    SNDFILE* file = sf_open_fd(fd, SFM_READ, &info, SF_TRUE);
    if (!file) {
        // libsndfile has closed the descriptor already.
        if (error) *error = sf_strerror(nullptr);
        return nullptr;
    }
    if (info.channels < 1 || info.channels > 64 || info.samplerate < 1000 ||
        info.samplerate > 200000) {
        sf_close(file);
        if (error) *error = "a channel count or rate that cannot be played";
        return nullptr;
    }
    return std::make_unique<SndfileDecoder>(file, fd, info, st);
}

}  // namespace platform
