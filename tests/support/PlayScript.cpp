// PlayScript: menu walks and chart plays as key scripts.
#include "support/PlayScript.h"

#include <algorithm>
#include <cmath>
#include <sstream>

namespace {

// Updates of a run before the first motion, and the first update that can judge.
constexpr int64_t kFirstMotion = 271;
constexpr int64_t kFirstJudgement = 334;

const char* const kRedKeys[4] = {"W", "D", "S", "A"};
const char* const kBlueKeys[4] = {"I", "L", "K", "J"};

// Distance per update, in the game's order of single-precision operations.
float Unit(int32_t bpm) { return (static_cast<float>(bpm) * 0.006f) / 1350.0f; }

// Schedules one lane's presses; returns how many notes are pressed.
size_t PlanLane(const std::vector<NoteRecord>& notes, int32_t bpm, const char* const keys[4],
                const std::map<size_t, int>& offsets, const std::vector<size_t>& skip,
                uint64_t start, std::multimap<uint64_t, std::string>& out) {
    size_t pressed = 0;
    int64_t last = 0;
    for (size_t i = 0; i < notes.size(); ++i) {
        if (std::find(skip.begin(), skip.end(), i) != skip.end()) continue;
        auto off = offsets.find(i);
        int64_t t = std::max(BestUpdate(notes[i].distance, bpm), last + 2);
        if (off != offsets.end()) t += off->second;
        last = t;
        out.emplace(start + t, std::string("press ") + keys[notes[i].direction]);
        ++pressed;
    }
    return pressed;
}

}  // namespace

int64_t BestUpdate(float distance, int32_t bpm) {
    const float u = Unit(bpm);
    // The judgement of update t sees the note after t - 271 motions.
    float d = distance;
    int64_t t = kFirstMotion;
    int64_t best = kFirstJudgement;
    float bestAbs = INFINITY;
    for (; t < kFirstMotion + 2000000; ++t) {
        if (t >= kFirstJudgement && std::fabs(d) < bestAbs) {
            bestAbs = std::fabs(d);
            best = t;
        }
        if (d < -u * 30) break;
        d -= u;
    }
    return best;
}

uint64_t PlayScript::Press(const std::string& key) {
    const uint64_t f = next_;
    lines_.emplace(f, "press " + key);
    next_ += 2;
    return f;
}

void PlayScript::Type(const std::string& text) {
    for (char c : text) Press(std::string(1, c));
}

// "Account" is the seventh item after "Title"; counting from the front keeps the walk right
// whatever items follow it.
void PlayScript::ToAccountItem() {
    for (int i = 0; i < 7; ++i) Press("D");
}

void PlayScript::AccountToTitle() {
    for (int i = 0; i < 7; ++i) Press("A");
}

void PlayScript::TypeText(const std::string& text) {
    lines_.emplace(next_, "type " + text);
    for (unsigned char c : text) next_ += (c & 0xC0) != 0x80;  // one update a character
    ++next_;
}

void PlayScript::Drop(const std::string& path) {
    lines_.emplace(next_, "drop " + path);
    next_ += 2;
}

void PlayScript::SignUpFromTitle(const std::string& name, const std::string& password) {
    Press("E");  // title to configuration
    ToAccountItem();
    Press("SPACE");  // open the account flow
    Press("D");      // sign up
    Type(name);
    Press("SPACE");  // name taken
    Type(password);
    Press("SPACE");  // password taken
    Press("SPACE");  // back to the menu, "Account" highlighted
    AccountToTitle();
    Press("SPACE");  // write the settings and go back to the title
}

void PlayScript::SignInFromTitle(const std::string& name, const std::string& password) {
    Press("E");  // title to configuration
    ToAccountItem();
    Press("SPACE");  // open the account flow
    Press("A");      // sign in
    Type(name);
    Press("SPACE");  // the account's file is read
    Type(password);
    Press("SPACE");  // the password matches: back to the menu, "Title" highlighted
    Press("SPACE");  // write the settings and go back to the title
}

uint64_t PlayScript::SelectFromTitle(int index, int level) {
    Press("SPACE");
    for (int i = 0; i < index; ++i) Press("D");
    for (int i = 0; i < level; ++i) Press("W");
    return Press("SPACE");
}

size_t PlayScript::Play(uint64_t gameStartFrame, const ChartContent& chart, const PressPlan& plan) {
    size_t pressed = PlanLane(chart.redNotes, chart.BPM, kRedKeys, plan.redOffset, plan.redSkip,
                              gameStartFrame, lines_);
    pressed += PlanLane(chart.blueNotes, chart.BPM, kBlueKeys, plan.blueOffset, plan.blueSkip,
                        gameStartFrame, lines_);
    // The result comes in update 812 + 60 S; the longest ticker is gone 510 updates later.
    const uint64_t leave = gameStartFrame + 812 + 60 * static_cast<uint64_t>(chart.Second) + 512;
    next_ = std::max(next_, leave);
    Press("SPACE");
    return pressed;
}

void PlayScript::Shot(uint64_t frame, const std::string& path) {
    lines_.emplace(frame, "shot " + path);
}

std::string PlayScript::Text() const {
    std::ostringstream out;
    for (const auto& [frame, command] : lines_) out << frame << ' ' << command << '\n';
    out << next_ + 4 << " quit\n";
    return out.str();
}
