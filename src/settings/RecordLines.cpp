// RecordLines: line splitting, tab fields and plain counts.
#include "settings/RecordLines.h"

void ReadRecordLines(std::string_view text, const std::function<bool(std::string_view)>& take,
                     std::vector<int>& bad) {
    size_t start = 0;
    for (int line = 1; start < text.size(); ++line) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view piece = text.substr(start, end - start);
        start = end + 1;
        if (piece.empty() || piece[0] == '#') continue;
        if (!take(piece)) bad.push_back(line);
    }
}

bool SplitRecord(std::string_view line, std::string_view* fields, int count) {
    for (int i = 0; i + 1 < count; ++i) {
        const size_t tab = line.find('\t');
        if (tab == std::string_view::npos) return false;
        fields[i] = line.substr(0, tab);
        line.remove_prefix(tab + 1);
    }
    fields[count - 1] = line;
    return true;
}

bool ReadDigits(std::string_view text, int64_t& value) {
    if (text.empty() || text.size() > 18) return false;
    value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}
