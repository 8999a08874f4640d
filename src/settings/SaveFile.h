// SaveFile: the text of one account's save file, "Save/" + name + ".svd": the password line,
// then one line "music[best0][best1][best2]" per record, in code page 932.
// Depends on: settings/KeyValueReader.h, platform/Codepage.h.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "settings/PlayerProfile.h"

// What one save file holds (the account's name is the file's name).
struct SaveFileContent {
    std::wstring password;
    std::vector<ScoreRecord> records;
};

// Reads decoded save-file text. False with "LINE: message" in error for a bad number or a
// piece longer than 259 characters; content then holds what was read before that line.
bool ParseSaveText(std::wstring_view text, SaveFileContent* content, std::string* error);

// The file's code page 932 bytes, LF line ends. Refuses (false, with the reason in error) an
// account that could not be read back as it is: a key without a code page 932 form, a key
// holding "[" or CR LF, a password holding a line feed or ending with CR, or a password or key
// over 259 characters.
bool FormatSaveBytes(const SaveFileContent& content, std::string* bytes, std::string* error);
