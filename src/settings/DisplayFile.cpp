// DisplayFile: the "Display.cfg" reader and its atomic writer.
#include "settings/DisplayFile.h"

#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "settings/KeyValueReader.h"

bool ParseDisplayText(std::string_view text, bool* fullscreen, std::string* error) {
    return ReadEntries(
        text,
        [fullscreen](const Field& key, const Field& value, std::string* why) {
            if (key.text != "Fullscreen") return true;
            if (value.end != FieldEnd::kDelimiter || (value.text != "0" && value.text != "1")) {
                if (why) *why = LineMessage(value.line, "Fullscreen must be 0 or 1");
                return false;
            }
            *fullscreen = value.text == "1";
            return true;
        },
        error);
}

bool LoadDisplayChoice(bool* fullscreen, std::string* error) {
    *fullscreen = false;
    std::string bytes, readError;
    switch (platform::ReadWholeFile(kDisplayFile, &bytes, &readError)) {
        case platform::ReadResult::kMissing:
            return true;
        case platform::ReadResult::kFailed:
            if (error) *error = readError;
            return false;
        case platform::ReadResult::kOk:
            break;
    }
    std::string message;
    bool value = false;
    if (!ParseDisplayText(bytes, &value, &message)) {
        if (error) *error = std::string(kDisplayFile) + ":" + message;
        return false;
    }
    *fullscreen = value;
    return true;
}

bool SaveDisplayChoice(bool fullscreen, std::string* error) {
    return platform::WriteFileAtomically(kDisplayFile,
                                         fullscreen ? "Fullscreen[1]\n" : "Fullscreen[0]\n", error);
}
