// NoteRows: a simfile chart's note data: measures of four beats separated by ",", each measure
// a list of equal rows (one line each, one character per column): "1" tap, "2" hold head,
// "4" roll head, "3" their tail, "M" mine, "L" lift, "F" fake, "K" a sound played by itself.
// Depends on: nothing.
#pragma once

#include <string_view>
#include <vector>

namespace importer {

struct RawNote {
    double beat = 0.0;
    int column = 0;
    wchar_t symbol = L'0';  // the row character, capital
};

struct NoteRows {
    int columns = 0;             // width of the chart's rows
    std::vector<RawNote> notes;  // ascending beats, then columns; empty cells and tails left out
};

// Reads the note data; rows narrower than the first are read as far as they go, wider ones are
// cut to its width.
NoteRows ReadNoteRows(std::wstring_view data);

}  // namespace importer
