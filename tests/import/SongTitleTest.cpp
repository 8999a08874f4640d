// Entry titles and credits: code page 932, transliterations and the characters a file name or
// the music list cannot hold.
#include <gtest/gtest.h>

#include "import/SongTitle.h"

using namespace importer;

TEST(SongTitle, WritableOriginalElseTransliterationElseReplaced) {
    EXPECT_EQ(EntryTitle(L"夜明けの歌", L"Yoake no Uta", L"folder"), L"夜明けの歌");
    // Hangul has no code page 932 form: the Latin title is used.
    EXPECT_EQ(EntryTitle(L"\uBC24\uD558\uB298", L"Bam Haneul", L"folder"), L"Bam Haneul");
    // Accents code page 932 lacks are dropped; what is left unwritable is replaced.
    EXPECT_EQ(EntryTitle(L"Caf\u00E9 \u0141\u00F3d\u017A", L"", L"x"), L"Cafe Lodz");
    EXPECT_EQ(EntryTitle(L"Caf\u00E9 \uBC24", L"", L"folder"), L"Cafe _");
    EXPECT_EQ(EntryTitle(L"", L"", L"song folder"), L"song folder");
    EXPECT_EQ(EntryTitle(L"  ", L"", L""), L"Untitled");
    // The title is the one the game reads back from the list: its folder must have that name.
    EXPECT_EQ(EntryTitle(L"Wave\u301CDash", L"", L""), L"Wave\uFF5EDash");
}

TEST(SongTitle, FileNameAndListCharactersAreReplaced) {
    EXPECT_EQ(EntryTitle(L"AC/DC\\Live [Extended]...", L"", L""), L"AC-DC-Live (Extended)\u2026");
    EXPECT_EQ(EntryTitle(L"..", L"", L"x"), L"\u2026");
    EXPECT_EQ(EntryTitle(L".", L"", L"x"), L"_");
    EXPECT_EQ(EntryTitle(L"Line\nBreak\t", L"", L""), L"Line Break");
    const std::wstring longTitle(300, L'\u3042');  // 3 bytes each in UTF-8
    EXPECT_EQ(EntryTitle(longTitle, L"", L"").size(), 66u);
    EXPECT_EQ(NumberedTitle(L"Song", 2), L"Song (2)");
    EXPECT_TRUE(SameTitle(L"Song", L"SONG"));
    EXPECT_FALSE(SameTitle(L"Song", L"Song (2)"));
}

TEST(SongTitle, CreditsKeepTheirTextButNotLineEnds) {
    EXPECT_EQ(EntryCredit(L"A/B [feat. C]", L""), L"A/B [feat. C]");
    EXPECT_EQ(EntryCredit(L"\uBC24", L"Bam"), L"Bam");
    EXPECT_EQ(EntryCredit(L"\uBC24\u3042", L""), L"?\u3042");
    EXPECT_EQ(EntryCredit(L"one\r\ntwo", L""), L"one  two");
}
