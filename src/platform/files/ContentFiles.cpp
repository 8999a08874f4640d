// ContentFiles: folder order, pins and the letter-case fallback over POSIX directory calls.
// Used from the game's thread only.
#include "platform/files/ContentFiles.h"

#include <dirent.h>
#include <locale.h>
#include <sys/stat.h>
#include <wctype.h>

#include <algorithm>
#include <map>

#include "platform/Codepage.h"

namespace platform {

namespace {

std::vector<std::string> g_folders = {""};
std::map<std::wstring, size_t> g_pins;

// True when a file or folder of that path exists (links followed).
bool Exists(const std::string& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0;
}

// A path inside a folder; the empty folder is the working directory.
std::string Join(const std::string& folder, const std::string& name) {
    return folder.empty() ? name : folder + "/" + name;
}

// The name in lower case, letter by letter, by the Unicode rules of the C.UTF-8 locale (so
// "É" meets "é" too); ASCII rules when that locale is missing.
std::wstring Fold(std::string_view utf8) {
    static const locale_t utf8Locale = ::newlocale(LC_CTYPE_MASK, "C.UTF-8", locale_t(0));
    std::wstring text = Utf8ToWide(utf8);
    for (wchar_t& c : text) {
        if (utf8Locale != locale_t(0))
            c = static_cast<wchar_t>(::towlower_l(static_cast<wint_t>(c), utf8Locale));
        else if (c >= L'A' && c <= L'Z')
            c = static_cast<wchar_t>(c - L'A' + L'a');
    }
    return text;
}

// The entries of folder whose names equal name but for letter case, the exact one excluded,
// in byte order, so the choice does not depend on the directory's order.
std::vector<std::string> MatchesIgnoringCase(const std::string& folder, const std::string& name) {
    std::vector<std::string> matches;
    DIR* dir = ::opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) return matches;
    const std::wstring wanted = Fold(name);
    while (const dirent* entry = ::readdir(dir)) {
        const std::string candidate = entry->d_name;
        if (candidate == "." || candidate == ".." || candidate == name) continue;
        if (Fold(candidate) == wanted) matches.push_back(candidate);
    }
    ::closedir(dir);
    std::sort(matches.begin(), matches.end());
    return matches;
}

// Resolves parts[i...] under base: the exact name first, then each name differing in case,
// going back when a choice leads nowhere ("Data" and "data" side by side). Empty when none.
std::string Resolve(const std::string& base, const std::vector<std::string>& parts, size_t i) {
    if (i == parts.size()) return base;
    const std::string exact = Join(base, parts[i]);
    if (Exists(exact))
        if (std::string found = Resolve(exact, parts, i + 1); !found.empty()) return found;
    for (const std::string& match : MatchesIgnoringCase(base, parts[i]))
        if (std::string found = Resolve(Join(base, match), parts, i + 1); !found.empty())
            return found;
    return {};
}

// The folder a path is pinned to, by the path itself or by its longest pinned prefix.
const size_t* PinnedFolder(std::wstring_view relative) {
    if (g_pins.empty()) return nullptr;
    if (auto it = g_pins.find(std::wstring(relative)); it != g_pins.end()) return &it->second;
    for (size_t slash = relative.rfind(L'/'); slash != std::wstring_view::npos && slash > 0;
         slash = relative.rfind(L'/', slash - 1)) {
        auto it = g_pins.find(std::wstring(relative.substr(0, slash + 1)));
        if (it != g_pins.end()) return &it->second;
    }
    return nullptr;
}

// Looks a UTF-8 relative path up part by part, ignoring letter case where needed.
FoundFile FindIgnoringCase(const std::string& folder, const std::string& path) {
    std::vector<std::string> parts;
    for (size_t start = 0; start <= path.size();) {
        size_t end = path.find('/', start);
        if (end == std::string::npos) end = path.size();
        if (end > start) parts.push_back(path.substr(start, end - start));
        start = end + 1;
    }
    std::string found = Resolve(folder, parts, 0);
    if (found.empty()) return {};
    return {std::move(found), true};
}

}  // namespace

void SetContentFolders(std::vector<std::string> folders) {
    g_folders = folders.empty() ? std::vector<std::string>{""} : std::move(folders);
    g_pins.clear();
}

const std::vector<std::string>& ContentFolders() { return g_folders; }

void PinContent(const std::wstring& pathOrPrefix, size_t folder) { g_pins[pathOrPrefix] = folder; }

void ClearContentPins() { g_pins.clear(); }

long PinnedContentFolder(std::wstring_view relative) {
    const size_t* pinned = PinnedFolder(relative);
    return pinned ? static_cast<long>(*pinned) : -1;
}

FoundFile FindInFolder(const std::string& folder, std::wstring_view relative) {
    const std::string path = WideToUtf8(relative);
    if (Exists(Join(folder, path))) return {Join(folder, path), false};
    return FindIgnoringCase(folder, path);
}

FoundFile FindContent(std::wstring_view relative) {
    if (const size_t* pinned = PinnedFolder(relative); pinned && *pinned < g_folders.size()) {
        FoundFile found = FindInFolder(g_folders[*pinned], relative);
        found.folder = *pinned;
        return found;
    }
    // Exact names in every folder before any name of another case: an exact hit costs one
    // file-status call per folder and never lists a directory.
    const std::string path = WideToUtf8(relative);
    for (size_t i = 0; i < g_folders.size(); ++i)
        if (Exists(Join(g_folders[i], path))) return {Join(g_folders[i], path), false, i};
    for (size_t i = 0; i < g_folders.size(); ++i) {
        FoundFile found = FindIgnoringCase(g_folders[i], path);
        if (found.path.empty()) continue;
        found.folder = i;
        return found;
    }
    return {};
}

std::string ContentPath(std::wstring_view relative) {
    FoundFile found = FindContent(relative);
    return found.path.empty() ? WideToUtf8(relative) : std::move(found.path);
}

std::string ExpectedContentPath(std::wstring_view relative) {
    const size_t* pinned = PinnedFolder(relative);
    const size_t folder = pinned && *pinned < g_folders.size() ? *pinned : g_folders.size() - 1;
    return Join(g_folders[folder], WideToUtf8(relative));
}

std::string DirectContentPath(std::wstring_view relative) {
    const size_t* pinned = PinnedFolder(relative);
    const size_t folder = pinned && *pinned < g_folders.size() ? *pinned : 0;
    return ContentPathIn(g_folders[folder], relative);
}

std::string ContentPathIn(const std::string& folder, std::wstring_view relative) {
    return Join(folder, WideToUtf8(relative));
}

bool ContentExists(std::wstring_view relative) { return !FindContent(relative).path.empty(); }

}  // namespace platform
