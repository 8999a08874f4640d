// Config: the settings record, the lenient "Config.cfg" reader and the exact, atomic writer.
#include "settings/Config.h"

#include <charconv>

#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "settings/KeyValueReader.h"

namespace {

constexpr const char* kConfigFile = "Config.cfg";

// The keys in file order with the field each one sets.
struct ConfigKey {
    const char* name;
    float Config::*field;
};
constexpr ConfigKey kKeys[] = {
    {"Volume", &Config::Volume}, {"BGMVolume", &Config::BGMVolume}, {"SEVolume", &Config::SEVolume},
    {"HitGap", &Config::HitGap}, {"HitLine", &Config::HitLine},     {"HiSpeed", &Config::HiSpeed},
};

// The field a key names: exact, case-sensitive, untrimmed; nullptr for any other key.
float* FieldOf(Config* config, const std::string& key) {
    for (const ConfigKey& k : kKeys)
        if (key == k.name) return &(config->*k.field);
    return nullptr;
}

// "LINE: message" for ParseConfigText's callers to put the file name in front of.
bool Fail(std::string* error, int line, const std::string& message) {
    if (error) *error = std::to_string(line) + ": " + message;
    return false;
}

}  // namespace

Config& GetConfig() {
    static Config config;
    return config;
}

bool ParseConfigText(std::string_view text, Config* config, std::string* error) {
    KeyValueReader<char> reader(text);
    while (true) {
        const Field key = reader.ReadUntil('[');
        if (key.end == FieldEnd::kTooLong) return Fail(error, key.line, TooLongMessage("key"));
        // A key cut short by the end of the file is not looked at.
        if (key.end == FieldEnd::kEndOfText) return true;
        if (float* field = FieldOf(config, key.text)) {
            const Field value = reader.ReadUntil(']');
            if (value.end == FieldEnd::kTooLong)
                return Fail(error, value.line, TooLongMessage("value"));
            std::string message;
            if (!ToFloat(value.text, field, &message))
                return Fail(error, value.line, NumberProblem(key.text, value.text, message));
            if (value.end == FieldEnd::kEndOfText) return true;
        }
        // The rest of the line; for an unknown key this skips its value as well.
        const Field rest = reader.ReadUntil('\n');
        if (rest.end == FieldEnd::kTooLong)
            return Fail(error, rest.line, TooLongMessage("rest of line"));
        if (rest.end == FieldEnd::kEndOfText) return true;
    }
}

std::string FormatConfigText(const Config& config) {
    std::string text;
    for (const ConfigKey& k : kKeys) {
        // The "%f" form in the "C" conventions: six decimals whatever the process locale is.
        // Any float fits: a sign, at most 39 integer digits, the point and six decimals.
        char value[64];
        const auto result = std::to_chars(value, value + sizeof value, config.*k.field,
                                          std::chars_format::fixed, 6);
        text += std::string(k.name) + "[" + std::string(value, result.ptr) + "]\n";
    }
    return text;
}

bool LoadConfig(std::string* error) {
    Config& config = GetConfig();
    config = Config{};
    std::string bytes;
    std::string readError;
    switch (platform::ReadWholeFile(kConfigFile, &bytes, &readError)) {
        case platform::ReadResult::kMissing:
            return true;
        case platform::ReadResult::kFailed:
            if (error) *error = readError;
            return false;
        case platform::ReadResult::kOk:
            break;
    }
    std::string message;
    if (ParseConfigText(bytes, &config, &message)) return true;
    if (error) *error = std::string(kConfigFile) + ":" + message;
    return false;
}

bool SaveConfig(std::string* error) {
    return platform::WriteFileAtomically(kConfigFile, FormatConfigText(GetConfig()), error);
}
