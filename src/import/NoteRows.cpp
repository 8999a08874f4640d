// NoteRows: measures split on ",", rows on line ends; "[…]" and "{…}" groups inside a row (key
// sounds and extended note syntax of some editors) are read as one cell, an extended note
// marked fake as a fake note.
#include "import/NoteRows.h"

#include <string>

namespace importer {

namespace {

// A field of an extended note without the blanks around it.
std::wstring_view Field(std::wstring_view group, size_t index) {
    for (size_t i = 0; i < index; ++i) {
        const size_t bar = group.find(L'|');
        if (bar == std::wstring_view::npos) return {};
        group.remove_prefix(bar + 1);
    }
    group = group.substr(0, group.find(L'|'));
    while (!group.empty() && group.front() == L' ') group.remove_prefix(1);
    while (!group.empty() && group.back() == L' ') group.remove_suffix(1);
    return group;
}

// The cell of an extended note "{type|attribute|fake|…}": its type, or "F" when the fake field
// is set on a note that would otherwise be played.
wchar_t ExtendedCell(std::wstring_view group) {
    const std::wstring_view type = Field(group, 0);
    if (type.empty()) return L'0';
    const bool played = type[0] == L'1' || type[0] == L'2' || type[0] == L'4';
    return played && Field(group, 2) == L"1" ? L'F' : type[0];
}

// The cells of one row: one character each, a bracketed group taken as its first character
// (an extended note as ExtendedCell reads it).
std::wstring Cells(std::wstring_view line) {
    std::wstring cells;
    for (size_t i = 0; i < line.size(); ++i) {
        const wchar_t c = line[i];
        if (c == L' ' || c == L'\t' || c == L'\r') continue;
        if (c == L'[' || c == L'{') {
            const wchar_t close = c == L'[' ? L']' : L'}';
            const size_t end = line.find(close, i);
            const size_t stop = end == std::wstring_view::npos ? line.size() : end;
            if (c == L'{' && i + 1 < line.size())
                cells += ExtendedCell(line.substr(i + 1, stop - i - 1));
            i = stop;
            continue;
        }
        cells += c;
    }
    return cells;
}

// The rows of one measure (lines with at least one cell).
std::vector<std::wstring> MeasureRows(std::wstring_view measure) {
    std::vector<std::wstring> rows;
    size_t start = 0;
    while (start <= measure.size()) {
        size_t end = measure.find(L'\n', start);
        if (end == std::wstring_view::npos) end = measure.size();
        std::wstring cells = Cells(measure.substr(start, end - start));
        if (!cells.empty()) rows.push_back(std::move(cells));
        start = end + 1;
    }
    return rows;
}

// The note symbols we keep (capital), or 0 for empty cells, tails and unknown characters.
wchar_t Symbol(wchar_t c) {
    if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    switch (c) {
        case L'1':
        case L'2':
        case L'4':
        case L'M':
        case L'L':
        case L'F':
            return c;
        default:
            return 0;
    }
}

}  // namespace

NoteRows ReadNoteRows(std::wstring_view data) {
    NoteRows result;
    size_t start = 0;
    for (int measure = 0; start <= data.size(); ++measure) {
        size_t end = data.find(L',', start);
        if (end == std::wstring_view::npos) end = data.size();
        const std::vector<std::wstring> rows = MeasureRows(data.substr(start, end - start));
        start = end + 1;
        if (result.columns == 0 && !rows.empty()) result.columns = static_cast<int>(rows[0].size());
        for (size_t r = 0; r < rows.size(); ++r) {
            const double beat = 4.0 * measure + 4.0 * static_cast<double>(r) / rows.size();
            const size_t width = std::min(rows[r].size(), static_cast<size_t>(result.columns));
            for (size_t c = 0; c < width; ++c)
                if (const wchar_t s = Symbol(rows[r][c]))
                    result.notes.push_back({beat, static_cast<int>(c), s});
        }
    }
    return result;
}

}  // namespace importer
