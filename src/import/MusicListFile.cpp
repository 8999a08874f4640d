// MusicListFile: the list's lines kept as bytes beside the parsed entries, so that a rewrite
// changes only the line of the imported song.
#include "import/MusicListFile.h"

#include <optional>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "settings/KeyValueReader.h"

namespace importer {

namespace {

// The file's lines without their line feeds; text after the last line feed is a line too.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < bytes.size()) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        lines.push_back(bytes.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// The line without a final CR (a CR LF line end).
std::string_view WithoutCr(const std::string& line) {
    std::string_view view(line);
    if (!view.empty() && view.back() == '\r') view.remove_suffix(1);
    return view;
}

}  // namespace

bool FormatEntryLine(const MusicEntry& entry, std::string& line) {
    const std::wstring text = entry.title + L"[" + std::to_wstring(entry.levels[0]) + L":" +
                              std::to_wstring(entry.levels[1]) + L":" +
                              std::to_wstring(entry.levels[2]) + L"]" + entry.credit;
    const std::optional<std::string> bytes = platform::WideToCp932(text);
    if (!bytes) return false;
    line = *bytes;
    return true;
}

bool MusicListFile::Load(const std::string& path, std::string& error) {
    path_ = path;
    entries_.clear();
    lines_.clear();
    std::string bytes, reason;
    const platform::ReadResult read = platform::ReadWholeFile(path, &bytes, &reason);
    if (read == platform::ReadResult::kMissing) return true;
    if (read == platform::ReadResult::kFailed) {
        error = reason;
        return false;
    }
    // Decoded line by line, as the game does, so that a bad byte names its line.
    std::wstring text;
    const std::vector<std::string> lines = SplitLines(bytes);
    for (size_t i = 0; i < lines.size(); ++i) {
        const std::optional<std::wstring> decoded = platform::Cp932ToWide(WithoutCr(lines[i]));
        if (!decoded) {
            error = LocatedMessage(path, static_cast<int>(i + 1), "not valid code page 932 text");
            return false;
        }
        text += *decoded + L"\n";
    }
    MusicListError failure;
    const JacketLoader noJackets = [](const std::wstring&) { return true; };
    if (!ParseMusicList(text, noJackets, entries_, failure)) {
        error = LocatedMessage(path, failure.line, failure.message);
        return false;
    }
    // Every entry of a list the game accepts is one line; text after the last one is dropped.
    for (size_t i = 0; i < entries_.size(); ++i) {
        std::string line;
        if (i < lines.size())
            line = lines[i];
        else if (!FormatEntryLine(entries_[i], line))
            line.clear();
        lines_.push_back(line);
    }
    return true;
}

bool MusicListFile::Put(size_t index, const MusicEntry& entry) {
    std::string line;
    if (!FormatEntryLine(entry, line)) return false;
    if (index >= entries_.size()) {
        entries_.push_back(entry);
        lines_.push_back(line);
    } else {
        entries_[index] = entry;
        lines_[index] = line;
    }
    return true;
}

std::string MusicListFile::Bytes() const {
    std::string bytes;
    for (const std::string& line : lines_) bytes += line + "\n";
    return bytes;
}

bool MusicListFile::Save(std::string& error) const {
    return platform::WriteFileAtomically(path_, Bytes(), &error);
}

}  // namespace importer
