// Checksum: SHA-256 through GLib's checksum functions.
#include "platform/Checksum.h"

#include <glib.h>

namespace platform {

std::string Sha256Hex(std::string_view bytes) {
    gchar* digest = g_compute_checksum_for_data(
        G_CHECKSUM_SHA256, reinterpret_cast<const guchar*>(bytes.data()), bytes.size());
    std::string hex = digest ? digest : "";
    g_free(digest);
    return hex;
}

}  // namespace platform
