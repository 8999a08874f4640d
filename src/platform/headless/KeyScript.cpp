// KeyScript parser: "F down KEY", "F up KEY", "F press KEY" (each with an optional "@MS"),
// "F focus-lost", "F focus-gained", "F shot FILE.png", "F type TEXT", "F drop PATH", "F quit";
// '#' starts a comment; frames ascend.
#include "platform/headless/KeyScript.h"

#include <cctype>
#include <sstream>

#include "platform/Codepage.h"

namespace platform {

namespace {

// Named keys of the script and their virtual-key codes.
struct NamedKey {
    const char* name;
    int code;
};
constexpr NamedKey kNamedKeys[] = {
    {"SPACE", kVkSpace},   {"BACKSPACE", kVkBack}, {"ESCAPE", kVkEscape},
    {"LSHIFT", kVkLShift}, {"RSHIFT", kVkRShift},
};

// The message a key change sends, micros into its frame; Shift travels as the generic code
// plus its scan code.
Message KeyMessage(uint32_t code, int vk, int64_t micros) {
    Message m{code, static_cast<uint64_t>(vk), 0, micros};
    if (vk == kVkLShift || vk == kVkRShift) {
        m.wParam = kVkShift;
        m.lParam = static_cast<int64_t>(vk == kVkRShift ? kScanRShift : kScanLShift) << 16;
    }
    return m;
}

// Strips a trailing comment and surrounding blanks.
std::string CleanLine(const std::string& line) {
    std::string s = line.substr(0, line.find('#'));
    while (!s.empty() && std::isspace(static_cast<unsigned char>(s.back()))) s.pop_back();
    size_t start = 0;
    while (start < s.size() && std::isspace(static_cast<unsigned char>(s[start]))) ++start;
    return s.substr(start);
}

// Reads a frame number of at least 1; false when the text is not one.
bool ParseFrame(const std::string& text, uint64_t& frame) {
    if (text.empty() || text.size() > 12) return false;
    for (char c : text)
        if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    frame = std::stoull(text);
    return frame >= 1;
}

// Microseconds of an "@MS" time within a frame: a decimal number of milliseconds from 0 to
// under 16 with at most three decimals; false when the text is not one.
bool ParseStamp(const std::string& text, int64_t& micros) {
    if (text.size() < 2 || text[0] != '@') return false;
    int64_t whole = 0, fraction = 0;
    int wholeDigits = 0, decimals = -1;
    for (size_t i = 1; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '.' && decimals < 0 && wholeDigits > 0) {
            decimals = 0;
        } else if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        } else if (decimals < 0) {
            if (++wholeDigits > 2) return false;
            whole = whole * 10 + (c - '0');
        } else {
            if (++decimals > 3) return false;
            fraction = fraction * 10 + (c - '0');
        }
    }
    if (wholeDigits == 0 || decimals == 0 || whole >= 16) return false;
    for (int d = decimals < 0 ? 0 : decimals; d < 3; ++d) fraction *= 10;
    micros = whole * 1000 + fraction;
    return true;
}

// Splits a key command's argument into the key and its time within the frame (0 without
// "@MS"); false with the reason.
bool SplitKeyArgument(const std::string& arg, std::string& key, int64_t& micros, std::string& why) {
    std::istringstream words(arg);
    std::string stamp, extra;
    words >> key >> stamp >> extra;
    micros = 0;
    if (!extra.empty()) return why = "unexpected text after the key", false;
    if (!stamp.empty() && !ParseStamp(stamp, micros))
        return why = "bad time '" + stamp + "' (give @MS, 0 to under 16)", false;
    return true;
}

// True for the commands that take a key or a file name.
bool TakesArgument(const std::string& command) {
    return command == "down" || command == "up" || command == "press" || command == "shot" ||
           command == "type" || command == "drop";
}

// Queues each character of UTF-8 text as typed, one an update from frame on.
void TypeText(const std::string& text, uint64_t frame, KeyScript& out) {
    for (wchar_t c : Utf8ToWide(text)) out.before[frame++].push_back(CharMessage(c));
}

}  // namespace

int ScriptKeyCode(const std::string& name) {
    if (name.size() == 1) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(name[0])));
        if ((c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')) return c;
        return -1;
    }
    for (const auto& k : kNamedKeys)
        if (name == k.name) return k.code;
    if (name.size() == 4 && name[0] == '0' && (name[1] == 'x' || name[1] == 'X') &&
        std::isxdigit(static_cast<unsigned char>(name[2])) &&
        std::isxdigit(static_cast<unsigned char>(name[3])))
        return std::stoi(name.substr(2), nullptr, 16);
    return -1;
}

bool ParseKeyScript(const std::string& text, KeyScript& out, std::string& error) {
    std::istringstream in(text);
    std::string raw;
    uint64_t lastFrame = 0;
    bool quit = false;
    for (int lineNo = 1; std::getline(in, raw); ++lineNo) {
        const std::string line = CleanLine(raw);
        if (line.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(lineNo) + ": " + why + ": " + line;
            return false;
        };
        std::istringstream words(line);
        std::string frameText, command, arg;
        words >> frameText >> command;
        std::getline(words >> std::ws, arg);
        uint64_t frame;
        if (!ParseFrame(frameText, frame)) return fail("bad frame number");
        if (frame < lastFrame) return fail("frames must ascend");
        if (quit) return fail("command after quit");
        lastFrame = frame;
        if (TakesArgument(command) == arg.empty())
            return fail(TakesArgument(command) ? "missing argument" : "unexpected argument");
        int vk = -1;
        int64_t micros = 0;
        if (command == "down" || command == "up" || command == "press") {
            std::string key, why;
            if (!SplitKeyArgument(arg, key, micros, why)) return fail(why);
            vk = ScriptKeyCode(key);
            if (vk < 0) return fail("unknown key '" + key + "'");
        }
        if (command == "down") {
            out.before[frame].push_back(KeyMessage(kMsgKeyDown, vk, micros));
        } else if (command == "up") {
            out.before[frame].push_back(KeyMessage(kMsgKeyUp, vk, micros));
        } else if (command == "press") {
            out.before[frame].push_back(KeyMessage(kMsgKeyDown, vk, micros));
            out.before[frame + 1].push_back(KeyMessage(kMsgKeyUp, vk, 0));
        } else if (command == "focus-lost" || command == "focus-gained") {
            out.before[frame].push_back(
                {kMsgActivateApp, command == "focus-gained" ? 1u : 0u, 0, 0});
        } else if (command == "type") {
            TypeText(arg, frame, out);
        } else if (command == "drop") {
            out.before[frame].push_back({kMsgDropFiles, 0, 0, 0});
            out.dropped[frame].push_back(arg);
        } else if (command == "shot") {
            out.shotsAfter[frame].push_back(arg);
        } else if (command == "quit") {
            quit = true;
            out.quitFrame = frame;
        } else {
            return fail("unknown command '" + command + "'");
        }
    }
    if (!quit) out.quitFrame = lastFrame + 1;
    return true;
}

}  // namespace platform
