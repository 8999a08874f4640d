// The three demo songs: a gentle one with a Japanese title, a night-time one whose long title
// scrolls, and a fast bright one. Tempos give whole frames per sixteenth step at 44100 Hz.
// Depends on: Catalog.h.
#include "Catalog.h"

#include <string>

namespace democontent {

namespace {

// A section that plays the given instruments.
Section Part(int bars, const char* instruments, int motif = 0, int octave = 0) {
    Section s;
    s.bars = bars;
    std::string set = instruments;
    s.kick = set.find('k') != std::string::npos;
    s.snare = set.find('s') != std::string::npos;
    s.hats = set.find('h') != std::string::npos;
    s.bass = set.find('b') != std::string::npos;
    s.pad = set.find('p') != std::string::npos;
    s.melody = set.find('m') != std::string::npos;
    s.motif = motif;
    s.octave = octave;
    return s;
}

// The closing section.
Section Finale(int bars) {
    Section s;
    s.bars = bars;
    s.finale = true;
    return s;
}

// Fragments of a star: A minor, 126 BPM, calm.
SongPlan Hoshi() {
    SongPlan p;
    p.title = L"星のかけら";
    p.credit = L"Lyrandel Sound Lab";
    p.ratings[0] = 1, p.ratings[1] = 4, p.ratings[2] = 7;
    p.bpm = 126;
    p.keyMidi = 69;
    p.minor = true;
    p.progression = {0, 5, 2, 6};  // Am F C G
    p.kick = "x.......x.x.....";
    p.snare = "....x.......x...";
    p.hat = "x.x.x.x.x.x.x.x.";
    p.bass = "x-.xx-.5x-.xx-.o";
    p.sections = {Part(4, "hp"),         Part(8, "ksbhpm", 0),    Part(8, "ksbhpm", 1, 0),
                  Part(4, "kbpm", 2, 0), Part(8, "ksbhpm", 1, 0), Finale(2)};
    p.seed = 11;
    p.jacket = JacketStyle::Stars;
    p.jacketTop = {0.05f, 0.06f, 0.2f, 1};
    p.jacketBottom = {0.35f, 0.15f, 0.45f, 1};
    p.jacketAccent = {0.7f, 0.8f, 1.f, 1};
    return p;
}

// Lanterns at midnight: D minor, 150 BPM, swinging.
SongPlan Lanterns() {
    SongPlan p;
    p.title = L"Midnight Lanterns";
    p.credit = L"Lyrandel Sound Lab";
    p.ratings[0] = 2, p.ratings[1] = 5, p.ratings[2] = 8;
    p.bpm = 150;
    p.keyMidi = 62;
    p.minor = true;
    p.progression = {0, 3, 5, 6};  // Dm Gm Bb C
    p.kick = "x.....x.x.....x.";
    p.snare = "....x.......x..g";
    p.hat = "x.x.x.xox.x.x.xo";
    p.bass = "x-.x.-x-o-.x5-x-";
    p.sections = {Part(4, "hbp"),    Part(8, "ksbhpm", 0), Part(8, "ksbhpm", 1, 1),
                  Part(4, "hpm", 2), Part(8, "ksbhpm", 0), Part(8, "ksbhpm", 1, 1),
                  Finale(2)};
    p.seed = 23;
    p.jacket = JacketStyle::Lanterns;
    p.jacketTop = {0.02f, 0.04f, 0.12f, 1};
    p.jacketBottom = {0.05f, 0.2f, 0.25f, 1};
    p.jacketAccent = {1.f, 0.5f, 0.15f, 1};
    return p;
}

// Sunbeam: E major, 175 BPM, four on the floor.
SongPlan Sunbeam() {
    SongPlan p;
    p.title = L"Sunbeam";
    p.credit = L"Lyrandel Sound Lab";
    p.ratings[0] = 3, p.ratings[1] = 6, p.ratings[2] = 9;
    p.bpm = 175;
    p.keyMidi = 64;
    p.minor = false;
    p.progression = {0, 5, 3, 4};  // E C#m A B
    p.kick = "x...x...x...x...";
    p.snare = "....x.......x..g";
    p.hat = "x.o.x.o.x.o.x.o.";
    p.bass = "x.ox.ox.x.ox.o5.";
    p.sections = {
        Part(4, "khp"),       Part(8, "ksbhpm", 0),    Part(8, "ksbhpm", 1, 1), Part(4, "bpm", 2),
        Part(8, "ksbhpm", 0), Part(8, "ksbhpm", 1, 1), Part(8, "ksbhpm", 1, 1), Finale(2)};
    p.seed = 37;
    p.jacket = JacketStyle::Sunbeam;
    p.jacketTop = {0.2f, 0.35f, 0.8f, 1};
    p.jacketBottom = {1.f, 0.55f, 0.25f, 1};
    p.jacketAccent = {1.f, 0.45f, 0.2f, 1};
    return p;
}

}  // namespace

// The demo songs in the order of the music list.
std::vector<SongPlan> DemoSongs() { return {Hoshi(), Lanterns(), Sunbeam()}; }

}  // namespace democontent
