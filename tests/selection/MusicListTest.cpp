// Music list reader: the grammar with its end-of-file rules, the bounded pieces, the number
// conversion, the title checks and the file-level failures.
#include <gtest/gtest.h>

#include "../settings/SceneHarness.h"
#include "platform/Codepage.h"
#include "selection/MusicList.h"

namespace {

// Parses text, recording which jackets were asked for.
struct Parsed {
    bool ok = false;
    std::vector<MusicEntry> entries;
    std::vector<std::wstring> jackets;
    MusicListError error;
};
Parsed Parse(std::wstring_view text, bool jacketsLoad = true) {
    Parsed p;
    p.ok = ParseMusicList(
        text,
        [&](const std::wstring& title) {
            p.jackets.push_back(title);
            return jacketsLoad;
        },
        p.entries, p.error);
    return p;
}

TEST(MusicListParse, WorkedExampleAndEndOfFileRules) {
    Parsed p = Parse(L"Song A[2:5:0]Someone\nB[1:1:1]x\n\n");
    ASSERT_TRUE(p.ok) << p.error.message;
    ASSERT_EQ(p.entries.size(), 2u);  // the empty last line is no entry
    EXPECT_EQ(p.entries[0].title, L"Song A");
    EXPECT_EQ(p.entries[0].credit, L"Someone");
    EXPECT_EQ(p.entries[0].levels[0], 2);
    EXPECT_EQ(p.entries[0].levels[1], 5);
    EXPECT_EQ(p.entries[0].levels[2], 0);

    p = Parse(L"A[1:2:3]no line feed at the end");
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.entries.size(), 1u);
    EXPECT_EQ(p.entries[0].credit, L"no line feed at the end");

    p = Parse(L"A[1:2:3");  // ends right after the last level: read with an empty credit
    ASSERT_TRUE(p.ok);
    ASSERT_EQ(p.entries.size(), 1u);
    EXPECT_EQ(p.entries[0].levels[2], 3);

    for (const wchar_t* nothing : {L"", L"no bracket here\n", L"\n\n"}) {
        p = Parse(nothing);
        EXPECT_TRUE(p.ok);
        EXPECT_TRUE(p.entries.empty());
        EXPECT_TRUE(p.jackets.empty());
    }
}

TEST(MusicListParse, NumbersFollowTheStandardIntegerConversion) {
    Parsed p = Parse(L"T[ 7 :\t-3:+12abc]c\nT[0:0:0]same title\n");
    ASSERT_TRUE(p.ok) << p.error.message;
    ASSERT_EQ(p.entries.size(), 2u);
    EXPECT_EQ(p.entries[0].levels[0], 7);
    EXPECT_EQ(p.entries[0].levels[1], -3);
    EXPECT_EQ(p.entries[0].levels[2], 12);
    EXPECT_EQ(p.jackets.size(), 2u);  // both entries stay; the store keeps one texture

    p = Parse(L"T[2147483647:-2147483648:0]c\n");
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(p.entries[0].levels[0], 2147483647);
    EXPECT_EQ(p.entries[0].levels[1], -2147483647 - 1);
}

TEST(MusicListParse, MalformedNumbersNameTheirLine) {
    struct Case {
        const wchar_t* text;
        int line;
        const char* needle;
    };
    const Case cases[] = {
        {L"A[1:2:3]a\nB[1:x:3]b\n", 2, "not a number"},
        {L"A[1:2:3]a\nB[1:-:3]b\n", 2, "not a number"},
        {L"A[1:2:3]a\nB[1:2:2147483648]b\n", 2, "out of range"},
        {L"A[99999999999999999999:2:3]a\n", 1, "out of range"},
        {L"A[1:2", 1, "the file ends before level 3"},
    };
    for (const Case& c : cases) {
        Parsed p = Parse(c.text);
        EXPECT_FALSE(p.ok) << platform::WideToUtf8(c.text);
        EXPECT_EQ(p.error.line, c.line) << platform::WideToUtf8(c.text);
        EXPECT_NE(p.error.message.find(c.needle), std::string::npos) << p.error.message;
    }
}

TEST(MusicListParse, PiecesAreBoundedTo259Characters) {
    const std::wstring longest(259, L'x');
    Parsed p = Parse(longest + L"[1:2:3]" + longest + L"\n");
    ASSERT_TRUE(p.ok) << p.error.message;
    EXPECT_EQ(p.entries[0].title.size(), 259u);
    EXPECT_EQ(p.entries[0].credit.size(), 259u);

    p = Parse(L"A[1:2:3]a\n" + longest + L"x[1:2:3]b\n");
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.error.line, 2);
    EXPECT_NE(p.error.message.find("title longer than 259"), std::string::npos);

    p = Parse(L"A[1:2:3]" + longest + L"x\n");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.message.find("credit"), std::string::npos);

    p = Parse(L"A[1:" + longest + L"1:3]c\n");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.message.find("level 2"), std::string::npos);
}

TEST(MusicListParse, TitlesThatWouldLeaveTheDataFolderAreRefused) {
    for (const wchar_t* title : {L"../x", L"a/b", L"a\\b", L".."}) {
        Parsed p = Parse(L"Fine[1:1:1]c\n" + std::wstring(title) + L"[1:1:1]c\n");
        EXPECT_FALSE(p.ok) << platform::WideToUtf8(title);
        EXPECT_EQ(p.error.line, 2);
        EXPECT_EQ(p.jackets.size(), 1u) << "a refused title must not reach the texture store";
    }
    EXPECT_TRUE(Parse(L"Ver. 2[1:1:1]c\n").ok);
    // A blank line would make the next title start with a line feed.
    Parsed p = Parse(L"A[1:2:3]a\n\nB[1:2:3]b\n");
    EXPECT_FALSE(p.ok);
    EXPECT_NE(p.error.message.find("blank line"), std::string::npos) << p.error.message;
}

TEST(MusicListParse, JacketIsLoadedBeforeTheNumbers) {
    Parsed p = Parse(L"A[x:y:z]c\n", false);
    EXPECT_FALSE(p.ok);
    EXPECT_EQ(p.jackets, std::vector<std::wstring>{L"A"});
    EXPECT_NE(p.error.message.find("Data/Texture/A.png"), std::string::npos) << p.error.message;
}

// File-level reading, in a temporary working folder.
struct MusicListFile : scenetest::SceneHarness {};

TEST_F(MusicListFile, ReadsCodePage932WithCrLfLineEnds) {
    // "曲" (0x8B 0xC8) and "太郎" (0x91 0xBE 0x98 0x59) in code page 932.
    WriteFile("Data/Music/0.nld", "\x8B\xC8[1:2:3]\x91\xBE\x98\x59\r\nB[4:5:6]b\r\n");
    WriteTexture("\u66F2.png");  // the jacket is looked for under the decoded title
    WriteTexture("B.png");
    std::vector<MusicEntry> entries;
    std::string error;
    ASSERT_TRUE(ReadMusicList(entries, error)) << error;
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].title, L"\u66F2");
    EXPECT_EQ(entries[0].credit, L"\u592A\u90CE");
    EXPECT_EQ(entries[1].credit, L"b");
}

TEST_F(MusicListFile, MissingEmptyAndUndecodableFilesFailWithTheirReason) {
    std::vector<MusicEntry> entries;
    std::string error;
    EXPECT_FALSE(ReadMusicList(entries, error));
    EXPECT_NE(error.find("Data/Music/0.nld: cannot be opened"), std::string::npos) << error;

    WriteFile("Data/Music/0.nld", "\n");
    EXPECT_FALSE(ReadMusicList(entries, error));
    EXPECT_NE(error.find("no entry"), std::string::npos) << error;

    WriteFile("Data/Music/0.nld", "A[1:1:1]a\nB[1:1:1]\x81\n");
    EXPECT_FALSE(ReadMusicList(entries, error));
    EXPECT_NE(error.find("Data/Music/0.nld:2:"), std::string::npos) << error;
}

TEST_F(MusicListFile, MissingJacketStopsTheReading) {
    WriteFile("Data/Music/0.nld", "Here[1:1:1]a\nNoJacketAnywhere[1:1:1]b\n");
    WriteTexture("Here.png");
    std::vector<MusicEntry> entries;
    std::string error;
    EXPECT_FALSE(ReadMusicList(entries, error));
    EXPECT_NE(error.find("Data/Music/0.nld:2: jacket \"Data/Texture/NoJacketAnywhere.png\""),
              std::string::npos)
        << error;
}

}  // namespace
