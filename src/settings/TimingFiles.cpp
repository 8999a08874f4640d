// TimingFiles: readers and writers of "Timing.cfg" and "SongOffsets.txt".
#include "settings/TimingFiles.h"

#include "platform/Codepage.h"
#include "settings/KeyValueReader.h"

namespace {

// An offset of the files: a whole number of milliseconds within the bounds, nothing after it.
bool ParseOffset(std::string_view text, int* ms, std::string* why) {
    int32_t value = 0;
    std::string message;
    if (text.empty() || text.find_first_not_of("+-0123456789") != std::string_view::npos ||
        !ToInt(text, &value, &message))
        return *why = "offset \"" + std::string(text) + "\" is not a whole number of ms", false;
    if (value < -kMaxOffsetMs || value > kMaxOffsetMs)
        return *why = "offset " + std::to_string(value) + " is outside -300 to 300 ms", false;
    *ms = value;
    return true;
}

// A switch of "Timing.cfg": 0 or 1.
bool ParseSwitch(std::string_view key, std::string_view text, bool* on, std::string* why) {
    if (text != "0" && text != "1") return *why = std::string(key) + " must be 0 or 1", false;
    *on = text == "1";
    return true;
}

// Takes one entry of "Timing.cfg"; keys it does not know are skipped.
bool TakeEntry(std::string_view key, std::string_view value, TimingChoices* choices,
               std::string* why) {
    if (key == "GlobalOffset") return ParseOffset(value, &choices->globalOffsetMs, why);
    if (key == "DeviceLatency") return ParseSwitch(key, value, &choices->deviceLatency, why);
    if (key == "ErrorBar") return ParseSwitch(key, value, &choices->errorBar, why);
    return true;
}

// True when bytes are UTF-8 that converts to a wide string and back unchanged.
bool RoundTrips(std::string_view bytes) {
    return platform::WideToUtf8(platform::Utf8ToWide(bytes)) == bytes;
}

}  // namespace

bool ParseTimingText(std::string_view text, TimingChoices* choices, std::string* error) {
    TimingChoices read = *choices;
    const EntryTaker take = [&read](const Field& key, const Field& value, std::string* error) {
        if (value.end != FieldEnd::kDelimiter)
            return *error = LineMessage(value.line, "value without its \"]\""), false;
        std::string why;
        if (!TakeEntry(key.text, value.text, &read, &why))
            return *error = LineMessage(key.line, why), false;
        return true;
    };
    if (!ReadEntries(text, take, error)) return false;
    *choices = read;
    return true;
}

std::string TimingText(const TimingChoices& choices) {
    return "GlobalOffset[" + std::to_string(choices.globalOffsetMs) + "]\nDeviceLatency[" +
           (choices.deviceLatency ? "1" : "0") + "]\nErrorBar[" + (choices.errorBar ? "1" : "0") +
           "]\n";
}

bool ParseSongOffsetsText(std::string_view text, SongOffsetTable* table, std::string* error) {
    SongOffsetTable read;
    int line = 0;
    while (!text.empty()) {
        ++line;
        const size_t end = text.find('\n');
        std::string_view row = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        while (!row.empty() && row.back() == '\r') row.remove_suffix(1);
        if (row.empty()) continue;
        const size_t tab = row.find('\t');
        if (tab == std::string_view::npos)
            return *error = LineMessage(line, "no TAB between the offset and the title"), false;
        int ms = 0;
        std::string why;
        if (!ParseOffset(row.substr(0, tab), &ms, &why))
            return *error = LineMessage(line, why), false;
        const std::string_view title = row.substr(tab + 1);
        if (title.empty()) return *error = LineMessage(line, "no title after the TAB"), false;
        if (title.find('\r') != std::string_view::npos)
            return *error = LineMessage(line, "the title holds a line break"), false;
        if (!RoundTrips(title)) return *error = LineMessage(line, "the title is not UTF-8"), false;
        read[platform::Utf8ToWide(title)] = ms;
    }
    *table = std::move(read);
    return true;
}

std::string SongOffsetsText(const SongOffsetTable& table) {
    std::string text;
    for (const auto& [title, ms] : table)
        if (ms != 0 && StorableTitle(title))
            text += std::to_string(ms) + "\t" + platform::WideToUtf8(title) + "\n";
    return text;
}

bool StorableTitle(const std::wstring& title) {
    return !title.empty() && title.find_first_of(L"\r\n") == std::wstring::npos;
}
