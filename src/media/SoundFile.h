// SoundFile: a sound file read with ordinary reads, never mapped, so a file that is rewritten
// or cut while it plays cannot bring the program down. A small file is read whole. A large
// RIFF file becomes an image of every byte but its samples, which stay on disk and are read a
// piece at a time while the sound plays; a later read notices when the file has shrunk or been
// rewritten since it was opened and fails with the reason instead of reading torn data.
// Depends on: media/ComException.h, POSIX file calls.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "media/ComException.h"

namespace DirectX {

// Files up to this size are read whole; larger ones keep their samples on disk.
constexpr size_t kWholeReadBytes = size_t(1) << 20;

class SoundFile {
  public:
    // Opens path (UTF-8) and reads it whole, or all but its samples when it is large. A result
    // code; on a system failure systemError (if given) receives errno.
    static HRESULT Open(const std::string& path, std::shared_ptr<SoundFile>& out, int* systemError);
    ~SoundFile();
    SoundFile(const SoundFile&) = delete;
    SoundFile& operator=(const SoundFile&) = delete;

    // The file's bytes; the samples of a large file read as zeros here.
    const uint8_t* data() const { return data_; }
    size_t size() const { return size_; }
    // True when every byte of the file is in memory.
    bool whole() const { return fd_ < 0; }
    // Reads n bytes at offset from the file itself (any thread). False with a reason when the
    // file has changed or shrunk since it was opened, or the read failed.
    bool ReadAt(uint64_t offset, size_t n, uint8_t* out, std::string* why) const;

  private:
    SoundFile() = default;

    int fd_ = -1;  // kept open only while samples stay on disk
    uint8_t* data_ = nullptr;
    size_t size_ = 0;
    bool mapped_ = false;   // data_ is an anonymous mapping, not a heap block
    int64_t modified_ = 0;  // the file's modification time at open, in nanoseconds
};

// Reads the whole file into data (any earlier buffer freed first). A result code; on a system
// failure systemError (if given) receives errno. Sizes of 4 GiB or more, or under 34 bytes,
// give 0x80004005.
HRESULT ReadWholeFile(const std::string& path, std::unique_ptr<uint8_t[]>& data, size_t& bytes,
                      int* systemError);

}  // namespace DirectX
