// Result codes of the media layer and com_exception, the error raised when a platform call
// fails with one of them ("Failure with HRESULT of %08X").
// Depends on: nothing beyond the standard library.
#pragma once

#include <cstdint>
#include <exception>

namespace DirectX {

// A 32-bit result code; the top bit marks a failure.
using HRESULT = uint32_t;

constexpr HRESULT kOk = 0;
constexpr HRESULT kFail = 0x80004005;          // generic failure: too small, malformed
constexpr HRESULT kInvalidArg = 0x80070057;    // missing or refused argument
constexpr HRESULT kOutOfMemory = 0x8007000E;   // buffer allocation failed
constexpr HRESULT kHandleEof = 0x80070026;     // a chunk runs past the end of the file
constexpr HRESULT kNotSupported = 0x80070032;  // unsupported format tag or sub-format
constexpr HRESULT kInvalidData = 0x8007000D;   // no "data" chunk, or an empty one
constexpr HRESULT kNotFound = 0x80070490;      // no audio device

// True when the code marks a failure.
constexpr bool Failed(HRESULT hr) { return (hr & 0x80000000u) != 0; }

class com_exception : public std::exception {
  public:
    explicit com_exception(HRESULT hr) noexcept : result_(hr) {}
    // "Failure with HRESULT of XXXXXXXX", formatted into one buffer shared by all of them.
    const char* what() const noexcept override;
    // The failed code.
    HRESULT get_result() const noexcept { return result_; }

  private:
    HRESULT result_;
};

}  // namespace DirectX
