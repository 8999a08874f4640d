// The selection's browsing over a catalog: search matching, the orders with their ties,
// grouping by pack and the jumps at the ends of the list, the random jump, and the highlighted
// song kept through every change.
#include <gtest/gtest.h>

#include <random>
#include <set>

#include "selection/SongBrowser.h"
#include "selection/SongSearch.h"

namespace {

struct Song {
    std::wstring title = L"", credit = L"", pack = L"";
    int32_t rating = 1;
    int64_t added = 0, lastPlayed = 0;
    int32_t plays = 0;
};

class SongBrowserTest : public ::testing::Test {
  protected:
    std::vector<MusicEntry> entries;
    SongBrowser browser;

    // Lists the songs (in this list order) and opens the browser on the first.
    void Open(const std::vector<Song>& songs, ViewRule rule = {}) {
        entries.clear();
        std::vector<PackRecord> packs;
        std::vector<SongStats> stats;
        for (const Song& s : songs) {
            entries.push_back({s.title, s.credit, {s.rating, 1, 1}});
            packs.push_back({s.pack.empty() ? kOtherPack : s.pack, s.added});
            if (s.plays > 0)
                stats.push_back({s.title, {{s.plays, s.lastPlayed, PlayMark::kPlayed}}});
        }
        browser.Reset(entries, [packs] { return packs; }, stats, rule, 0);
    }
    // The titles shown, in order.
    std::vector<std::wstring> Shown() {
        std::vector<std::wstring> titles;
        for (int32_t i = 0; i < browser.size(); ++i)
            titles.push_back(entries[browser.EntryAt(i - browser.place())].title);
        return titles;
    }
    // Titles shown for a search line.
    std::vector<std::wstring> Search(const std::wstring& line) {
        browser.SetSearch(SearchWords(line));
        return Shown();
    }
    std::wstring Current() { return entries[browser.entry()].title; }
    using Titles = std::vector<std::wstring>;
};

TEST_F(SongBrowserTest, EveryWordMustAppearInTitleCreditOrPackWhateverItsCaseWidthOrAccents) {
    Open({{L"Café Noir", L"Ann"},
          {L"ＡＢＣ Song", L"Bob", L"Retro"},
          {L"星のかけら", L"Lyrandel Sound Lab"},
          {L"ガラス", L"ｶﾞﾗｽ Band"},
          {L"Plain", L"Naïve", L"Autumn Pack"}});
    EXPECT_EQ(Search(L"cafe"), Titles{L"Café Noir"});
    EXPECT_EQ(Search(L"CAFÉ noir"), Titles{L"Café Noir"});
    EXPECT_EQ(Search(L"abc"), Titles{L"ＡＢＣ Song"});
    EXPECT_EQ(Search(L"ａｂｃ　ｓｏｎｇ"), Titles{L"ＡＢＣ Song"});  // full-width blank too
    EXPECT_EQ(Search(L"かけら"), Titles{L"星のかけら"});
    EXPECT_EQ(Search(L"ガラス"), Titles{L"ガラス"});       // the half-width credit matches too
    EXPECT_EQ(Search(L"カラス"), Titles{});                // kana keep their voicing
    EXPECT_EQ(Search(L"naive autumn"), Titles{L"Plain"});  // credit and pack
    EXPECT_EQ(Search(L"retro bob"), Titles{L"ＡＢＣ Song"});
    EXPECT_EQ(Search(L"retro ann"), Titles{});  // each word must appear
    EXPECT_TRUE(browser.empty());
    EXPECT_EQ(browser.entry(), -1);
    EXPECT_EQ(Search(L"   ").size(), 5u);  // a line of blanks shows every song
}

TEST_F(SongBrowserTest, OrdersKeepTheListsOrderForTies) {
    Open({{L"beta", L"Zed", L"", 3, 100, 50, 2},
          {L"Alpha", L"amy", L"", 0, 300, 0, 0},
          {L"alpha", L"Bo", L"", 3, 100, 70, 5},
          {L"Échelle", L"amy", L"", 2, 0, 70, 2}});
    const std::vector<std::pair<SongOrder, Titles>> expected = {
        {SongOrder::kList, {L"beta", L"Alpha", L"alpha", L"Échelle"}},
        {SongOrder::kTitle, {L"Alpha", L"alpha", L"beta", L"Échelle"}},
        {SongOrder::kCredit, {L"Alpha", L"Échelle", L"alpha", L"beta"}},
        {SongOrder::kRating, {L"Échelle", L"beta", L"alpha", L"Alpha"}},  // rated 0 last
        {SongOrder::kAdded, {L"Alpha", L"beta", L"alpha", L"Échelle"}},
        {SongOrder::kPlayed, {L"alpha", L"Échelle", L"beta", L"Alpha"}},
        {SongOrder::kMostPlayed, {L"alpha", L"beta", L"Échelle", L"Alpha"}},
    };
    SongOrder order = SongOrder::kList;
    for (const auto& [want, titles] : expected) {
        EXPECT_EQ(order, want);
        EXPECT_EQ(Shown(), titles) << OrderWord(want);
        order = NextOrder(order);
        browser.SetRule({order, false, 0});
    }
    EXPECT_EQ(order, SongOrder::kList);  // the cycle comes back
}

TEST_F(SongBrowserTest, GroupedPacksComeByNameWithOtherLastAndJumpsWrapAtTheEnds) {
    Open({{L"s1", L"", L"Zeta"},
          {L"s2", L"", L""},
          {L"s3", L"", L"alpha"},
          {L"s4", L"", L"Zeta"},
          {L"s5", L"", L"alpha"}},
         {SongOrder::kList, true, 0});
    EXPECT_EQ(Shown(), (Titles{L"s3", L"s5", L"s1", L"s4", L"s2"}));
    EXPECT_EQ(Current(), L"s1");  // the highlighted song stays when the arrangement changes
    browser.Step(1);              // s4, the middle of Zeta
    ASSERT_TRUE(browser.JumpGroup(-1));
    EXPECT_EQ(Current(), L"s3");  // the first song of the previous pack, not of this one
    ASSERT_TRUE(browser.JumpGroup(-1));
    EXPECT_EQ(Current(), L"s2");  // from the first pack round to the last
    ASSERT_TRUE(browser.JumpGroup(1));
    EXPECT_EQ(Current(), L"s3");  // from the last pack round to the first
    ASSERT_TRUE(browser.JumpGroup(1));
    EXPECT_EQ(Current(), L"s1");

    // Without grouping, title order jumps by initial; the list's order has nothing to jump by.
    browser.SetRule({SongOrder::kList, false, 0});
    EXPECT_FALSE(browser.JumpGroup(1));
    Open({{L"banana"}, {L"Apple"}, {L"2 Step"}, {L"avocado"}, {L"10 Years"}, {L"Berry"}},
         {SongOrder::kTitle, false, 0});
    EXPECT_EQ(Shown(), (Titles{L"10 Years", L"2 Step", L"Apple", L"avocado", L"banana", L"Berry"}));
    browser.Highlight(2);  // "2 Step": numbers are one group
    browser.JumpGroup(1);
    EXPECT_EQ(Current(), L"Apple");
    browser.JumpGroup(1);
    EXPECT_EQ(Current(), L"banana");
    browser.JumpGroup(1);
    EXPECT_EQ(Current(), L"10 Years");
}

TEST_F(SongBrowserTest, RandomNeverStaysWhenThereIsAnotherSongAndReachesEveryOther) {
    Open({{L"only"}});
    browser.JumpRandom(12345);
    EXPECT_EQ(Current(), L"only");
    Open({{L"a"}, {L"b"}, {L"c"}, {L"d"}, {L"e"}});
    std::set<std::wstring> reached;
    std::minstd_rand random(7);
    for (int jump = 0; jump < 40; ++jump) {
        const std::wstring before = Current();
        browser.JumpRandom(static_cast<uint32_t>(random()));
        EXPECT_NE(Current(), before);
        reached.insert(Current());
    }
    EXPECT_EQ(reached.size(), 5u);
    // Within a search, only matches are drawn.
    Search(L"b");
    browser.JumpRandom(7);
    EXPECT_EQ(Current(), L"b");
}

TEST_F(SongBrowserTest, TheHighlightedSongStaysThroughSearchesAndOrdersWhileItIsShown) {
    Open({{L"Red"}, {L"Green"}, {L"Blue"}, {L"Grey"}});
    browser.Step(-1);  // wraps to Grey
    EXPECT_EQ(Current(), L"Grey");
    EXPECT_EQ(Search(L"gr"), (Titles{L"Green", L"Grey"}));
    EXPECT_EQ(Current(), L"Grey");
    EXPECT_EQ(browser.place(), 1);
    Search(L"blue");  // the highlighted song is not shown: the first match
    EXPECT_EQ(Current(), L"Blue");
    Search(L"");
    EXPECT_EQ(Current(), L"Blue");
    browser.SetRule({SongOrder::kTitle, true, 0});
    EXPECT_EQ(Current(), L"Blue");
    EXPECT_EQ(browser.place(), 0);
}

}  // namespace
