// Fuzzing findings in the save-file reading, each kept as the input that showed it.
// Depends on: settings/SaveFile.h, platform/Codepage.h.
#include <gtest/gtest.h>

#include <string>

#include "platform/Codepage.h"
#include "settings/SaveFile.h"

namespace {

// Reads bytes as the game does; fails the test when they do not read.
SaveFileContent Read(const std::string& bytes) {
    SaveFileContent content;
    std::string error;
    const auto text = platform::Cp932ToWide(bytes);
    EXPECT_TRUE(text.has_value());
    EXPECT_TRUE(text && ParseSaveText(*text, &content, &error)) << error;
    return content;
}

// Writes content and reads it back.
SaveFileContent RoundTrip(const SaveFileContent& content) {
    std::string bytes, error;
    EXPECT_TRUE(FormatSaveBytes(content, &bytes, &error)) << error;
    return Read(bytes);
}

}  // namespace

// A CR LF file cut short after its last CR read the password with the CR, which a save then
// turned into a line end: the account's password changed and its player was locked out.
TEST(SaveFileFindings, ACrAtTheEndOfTheFileIsALineEnd) {
    const SaveFileContent cut = Read("PW1\r");
    EXPECT_EQ(cut.password, L"PW1");
    EXPECT_EQ(RoundTrip(cut).password, L"PW1");

    // The input the fuzzer found (a password with a NUL and a code page 932 character).
    const SaveFileContent found = Read(std::string("\x0e\xcf\x75\x00\x0d", 5));
    EXPECT_EQ(RoundTrip(found).password, found.password);

    // Several CRs before a line feed are one line end too; a CR inside a line is text.
    EXPECT_EQ(Read("PW\r\r\nSong[1][2][3]\r\r").password, L"PW");
    const SaveFileContent inner = Read("P\rW\nSo\rng[1][2][3]\r\n");
    EXPECT_EQ(inner.password, L"P\rW");
    ASSERT_EQ(inner.records.size(), 1u);
    EXPECT_EQ(inner.records[0].music, L"So\rng");
    EXPECT_EQ(RoundTrip(inner).records[0].music, L"So\rng");
}

// A file of nothing but CRs reads in one pass (the line-end check must not rescan them).
TEST(SaveFileFindings, AFileOfCrsReadsAsAnEmptyPassword) {
    EXPECT_EQ(Read(std::string(1 << 20, '\r')).password, L"");
    SaveFileContent content;
    std::string error;
    EXPECT_FALSE(ParseSaveText(std::wstring(1 << 20, L'\r') + L"x", &content, &error));
    EXPECT_NE(error.find("longer than 259"), std::string::npos) << error;
}
