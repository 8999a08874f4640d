// KeyBindingsFile: the "Keys.cfg" reader, its atomic writer and the load that never fails.
#include "settings/KeyBindingsFile.h"

#include <charconv>
#include <cstdio>

#include "platform/Codepage.h"
#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"
#include "settings/KeyValueReader.h"

namespace {

// The file's keys in slot order.
const char* const kSlotKeys[kLaneSlots] = {"RedUp",  "RedRight",  "RedDown",  "RedLeft",
                                           "BlueUp", "BlueRight", "BlueDown", "BlueLeft"};

// The slot a file key names, or -1; blank lines and blanks before the key do not count.
int SlotOf(const std::string& key) {
    const size_t start = key.find_first_not_of(" \t\n");
    const std::string name = start == std::string::npos ? "" : key.substr(start);
    for (int slot = 0; slot < kLaneSlots; ++slot)
        if (name == kSlotKeys[slot]) return slot;
    return -1;
}

// A "0xNN" code of 1 to 254; false for anything else.
bool ParseCode(const std::string& text, uint32_t* code) {
    if (text.size() < 3 || text.size() > 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X'))
        return false;
    const char* first = text.data() + 2;
    const char* last = text.data() + text.size();
    unsigned value = 0;
    auto [end, failure] = std::from_chars(first, last, value, 16);
    if (failure != std::errc() || end != last || value < 1 || value > 254) return false;
    *code = value;
    return true;
}

// Refuses the text with "LINE: message".
bool Fail(std::string* error, int line, const std::string& message) {
    if (error) *error = LineMessage(line, message);
    return false;
}

// Reports the file as damaged and moves it aside; the defaults stay.
void SetAside(const std::string& problem) {
    std::string aside, error;
    if (platform::SetFileAside(kKeyBindingsFile, &aside, &error))
        std::fprintf(stderr, "lyrandel: %s; the default keys are used (the file is kept as %s)\n",
                     problem.c_str(), aside.c_str());
    else
        std::fprintf(stderr, "lyrandel: %s; the default keys are used (%s)\n", problem.c_str(),
                     error.c_str());
}

}  // namespace

bool ParseKeyBindingsText(std::string_view text, LaneKeys* lanes, std::string* error) {
    LaneKeys read = *lanes;
    int lastLine = 1;
    const EntryTaker take = [&read, &lastLine](const Field& key, const Field& value,
                                               std::string* why) {
        lastLine = value.line;
        const int slot = SlotOf(key.text);
        if (slot < 0) return true;
        uint32_t code = 0;
        if (value.end != FieldEnd::kDelimiter || !ParseCode(value.text, &code) ||
            KeyName(code).empty())
            return Fail(why, value.line,
                        std::string(kSlotKeys[slot]) + " is not a key that can play a lane: \"" +
                            value.text.substr(0, 20) + "\"");
        read[slot] = code;
        return true;
    };
    if (!ReadEntries(text, take, error)) return false;
    for (int slot = 0; slot < kLaneSlots; ++slot) {
        const std::wstring refusal = BindingRefusal(read, slot, read[slot]);
        if (!refusal.empty()) return Fail(error, lastLine, platform::WideToUtf8(refusal));
    }
    *lanes = read;
    return true;
}

std::string FormatKeyBindingsText(const LaneKeys& lanes) {
    std::string text;
    for (int slot = 0; slot < kLaneSlots; ++slot) {
        char code[8];
        std::snprintf(code, sizeof code, "0x%02X", static_cast<unsigned>(lanes[slot]));
        text += std::string(kSlotKeys[slot]) + "[" + code + "]\n";
    }
    return text;
}

void LoadKeyBindings() {
    KeyBindings& bindings = GetKeyBindings();
    bindings = KeyBindings{};
    std::string bytes, error;
    switch (platform::ReadWholeFile(kKeyBindingsFile, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return;
        case platform::ReadResult::kFailed:
            std::fprintf(stderr, "lyrandel: %s; the default keys are used\n", error.c_str());
            return;
        case platform::ReadResult::kOk:
            break;
    }
    LaneKeys lanes = kDefaultLaneKeys;
    if (!ParseKeyBindingsText(bytes, &lanes, &error)) {
        SetAside(std::string(kKeyBindingsFile) + ":" + error);
        return;
    }
    bindings.lanes = lanes;
}

bool SaveKeyBindings(std::string* error) {
    return platform::WriteFileAtomically(
        kKeyBindingsFile, FormatKeyBindingsText(GetKeyBindings().lanes), error, 0600);
}
