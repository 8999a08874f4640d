// SaveFile: parsing and formatting of the save-file text; no file access here.
#include "settings/SaveFile.h"

#include "platform/Codepage.h"
#include "settings/KeyValueReader.h"

namespace {

// "LINE: message" for the callers to put the file name in front of.
bool Fail(std::string* error, int line, const std::string& message) {
    if (error) *error = std::to_string(line) + ": " + message;
    return false;
}

// Reads the three numbers of the record of music, "n]...[n]...[n]"; false with error set.
bool ReadBests(KeyValueReader<wchar_t>& reader, const std::wstring& music, int32_t best[3],
               std::string* error) {
    for (int i = 0; i < 3; ++i) {
        const WideField number = reader.ReadUntil(L']');
        if (number.end == FieldEnd::kTooLong)
            return Fail(error, number.line, TooLongMessage("score"));
        std::string message;
        if (!ToInt(number.text, &best[i], &message)) {
            const std::string what =
                "score " + std::to_string(i + 1) + " of \"" + platform::WideToUtf8(music) + "\"";
            return Fail(error, number.line,
                        NumberProblem(what, platform::WideToUtf8(number.text), message));
        }
        if (i == 2) break;
        const WideField gap = reader.ReadUntil(L'[');
        if (gap.end == FieldEnd::kTooLong)
            return Fail(error, gap.line, TooLongMessage("text between scores"));
    }
    return true;
}

// Why a record's key cannot be written, or empty when it can.
std::string KeyProblem(const std::wstring& music) {
    const std::string shown = "music key \"" + platform::WideToUtf8(music) + "\"";
    if (music.size() > kMaxFieldLength) return TooLongMessage(shown);
    if (music.find(L'[') != std::wstring::npos) return shown + " holds \"[\"";
    if (music.find(L"\r\n") != std::wstring::npos) return shown + " holds a CR LF line end";
    if (!platform::WideToCp932(music)) return shown + " has no code page 932 form";
    return {};
}

// Why the password cannot be written, or empty when it can.
std::string PasswordProblem(const std::wstring& password) {
    if (password.size() > kMaxFieldLength) return TooLongMessage("password");
    if (password.find(L'\n') != std::wstring::npos) return "password holds a line feed";
    // A CR before the line end would read back as part of the line end.
    if (!password.empty() && password.back() == L'\r')
        return "password ends with a carriage return";
    if (!platform::WideToCp932(password)) return "password has no code page 932 form";
    return {};
}

}  // namespace

bool ParseSaveText(std::wstring_view text, SaveFileContent* content, std::string* error) {
    KeyValueReader<wchar_t> reader(text);
    const WideField password = reader.ReadUntil(L'\n');
    if (password.end == FieldEnd::kTooLong)
        return Fail(error, password.line, TooLongMessage("password"));
    content->password = password.text;
    while (true) {
        const WideField key = reader.ReadUntil(L'[');
        if (key.end == FieldEnd::kTooLong)
            return Fail(error, key.line, TooLongMessage("music key"));
        // A key cut short by the end of the file is not looked at.
        if (key.end == FieldEnd::kEndOfText) return true;
        ScoreRecord record{key.text};
        if (!ReadBests(reader, record.music, record.best, error)) return false;
        content->records.push_back(record);
        const WideField rest = reader.ReadUntil(L'\n');
        if (rest.end == FieldEnd::kTooLong)
            return Fail(error, rest.line, TooLongMessage("rest of line"));
    }
}

bool FormatSaveBytes(const SaveFileContent& content, std::string* bytes, std::string* error) {
    std::string problem = PasswordProblem(content.password);
    std::wstring text = content.password + L"\n";
    for (const ScoreRecord& r : content.records) {
        if (problem.empty()) problem = KeyProblem(r.music);
        text += r.music + L"[" + std::to_wstring(r.best[0]) + L"][" + std::to_wstring(r.best[1]) +
                L"][" + std::to_wstring(r.best[2]) + L"]\n";
    }
    if (!problem.empty()) {
        if (error) *error = problem;
        return false;
    }
    auto encoded = platform::WideToCp932(text);
    if (!encoded) {
        if (error) *error = "text has no code page 932 form";
        return false;
    }
    *bytes = std::move(*encoded);
    return true;
}
