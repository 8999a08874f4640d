// com_exception's message, formatted on demand.
// Depends on: media/ComException.h.
#include "media/ComException.h"

#include <cstdio>

namespace DirectX {

// The one message buffer; the message text is only ever read on the game's thread.
const char* com_exception::what() const noexcept {
    static char message[64];
    std::snprintf(message, sizeof(message), "Failure with HRESULT of %08X",
                  static_cast<unsigned>(result_));
    return message;
}

}  // namespace DirectX
