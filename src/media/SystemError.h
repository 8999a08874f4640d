// Operating-system errors as the media layer reports them: the errno of a failed file call
// turned into the error number the original platform gives the same condition, inside a
// 0x8007xxxx result code, and the system's own words for the message beside it.
// Depends on: media/ComException.h.
#pragma once

#include <string>

#include "media/ComException.h"

namespace DirectX {

// The original platform's error number for the condition errno names (file not found 2,
// path not found 3, access denied 5, not enough memory 8, read fault 30, sharing violation
// 32, lock violation 33, disk full 112 and a few more); 0 when it has no counterpart.
uint32_t PlatformErrorNumber(int errnoValue);

// The result code of a failed file call: 0x8007 and the platform's number, or 0x80004005
// when the error has no counterpart there.
HRESULT HresultFromErrno(int errnoValue);

// Like HresultFromErrno for a failed open of path: a missing file whose folder is missing
// too is "path not found" (3) rather than "file not found" (2), as the platform tells them.
HRESULT HresultFromOpenErrno(int errnoValue, const std::string& path);

// The system's words for errno ("Permission denied").
std::string SystemErrorText(int errnoValue);

// True for the two codes of a file that is not there (file or path not found).
constexpr bool IsNotFound(HRESULT hr) { return hr == 0x80070002u || hr == 0x80070003u; }

}  // namespace DirectX
