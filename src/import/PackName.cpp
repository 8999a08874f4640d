// PackName: compares the song's place with the named path, both made absolute and plain.
#include "import/PackName.h"

#include <system_error>

#include "platform/Codepage.h"

namespace importer {

namespace fs = std::filesystem;

namespace {

// The path absolute, without "." or ".." parts or a trailing separator.
fs::path Plain(const fs::path& path) {
    std::error_code ignored;
    fs::path plain = fs::absolute(path, ignored).lexically_normal();
    if (!plain.has_filename() && plain.has_parent_path() && plain != plain.root_path())
        plain = plain.parent_path();
    return plain;
}

// The last part of a path as a wide string.
std::wstring NameOf(const fs::path& path) { return platform::Utf8ToWide(path.filename().string()); }

}  // namespace

std::wstring PackName(const fs::path& named, const fs::path& archive, const fs::path& songFolder) {
    fs::path folder = Plain(named);
    std::error_code ignored;
    if (!archive.empty() && Plain(archive) == folder)
        return platform::Utf8ToWide(folder.stem().string());
    if (!fs::is_directory(folder, ignored)) folder = folder.parent_path();
    const fs::path place = Plain(archive.empty() ? songFolder : archive);
    if (place == folder || place.parent_path() == folder) return NameOf(folder);
    return NameOf(place.parent_path());
}

}  // namespace importer
