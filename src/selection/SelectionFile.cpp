// SelectionFile: the key[value] lines of "Selection.cfg", and reading it without ever stopping
// the selection.
#include "selection/SelectionFile.h"

#include <cstdio>

#include "platform/files/AtomicFile.h"
#include "platform/files/FileSystem.h"
#include "platform/files/SetAside.h"
#include "settings/KeyValueReader.h"

namespace {

// Fills error with "LINE: message" and returns false.
bool Fail(std::string* error, int line, const std::string& message) {
    if (error) *error = LineMessage(line, message);
    return false;
}

// Applies one key's value to rule; false with error set when the value is not one it takes.
bool Apply(const std::string& key, const Field& value, ViewRule* rule, std::string* error) {
    if (key == "Order") {
        if (value.end != FieldEnd::kDelimiter || !OrderFromWord(value.text, rule->order))
            return Fail(error, value.line, "unknown order \"" + value.text + "\"");
    } else if (key == "Group") {
        if (value.end != FieldEnd::kDelimiter || (value.text != "0" && value.text != "1"))
            return Fail(error, value.line, "Group must be 0 or 1");
        rule->grouped = value.text == "1";
    }
    return true;
}

}  // namespace

bool ParseSelectionText(std::string_view text, ViewRule* rule, std::string* error) {
    return ReadEntries(
        text,
        [rule](const Field& key, const Field& value, std::string* why) {
            return Apply(key.text, value, rule, why);
        },
        error);
}

std::string FormatSelectionText(const ViewRule& rule) {
    return std::string("Order[") + OrderWord(rule.order) + "]\nGroup[" +
           (rule.grouped ? "1" : "0") + "]\n";
}

ViewRule LoadSelectionRule() {
    std::string bytes, error;
    switch (platform::ReadWholeFile(kSelectionFile, &bytes, &error)) {
        case platform::ReadResult::kMissing:
            return {};
        case platform::ReadResult::kFailed:
            break;
        case platform::ReadResult::kOk: {
            ViewRule rule;
            if (ParseSelectionText(bytes, &rule, &error)) return rule;
            error = std::string(kSelectionFile) + ":" + error;
            break;
        }
    }
    std::string moveError;
    std::string aside;
    platform::SetFileAside(kSelectionFile, &aside, &moveError);
    std::fprintf(stderr, "lyrandel: %s; %s (the songs are shown in the list's order)\n",
                 error.c_str(), aside.empty() ? moveError.c_str() : ("moved to " + aside).c_str());
    return {};
}

bool SaveSelectionRule(const ViewRule& rule) {
    std::string error;
    if (platform::WriteFileAtomically(kSelectionFile, FormatSelectionText(rule), &error, 0600))
        return true;
    std::fprintf(stderr, "lyrandel: cannot remember the selection's order: %s\n", error.c_str());
    return false;
}
