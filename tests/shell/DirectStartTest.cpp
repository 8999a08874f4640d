// The direct start through the program: --play with the autoplay prints the result line and
// quits, Space after the result leads to the selection and nothing of the autoplay's run is
// recorded, and a title or level that cannot be played is a clear error.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../settings/SceneHarness.h"
#include "selection/DirectChoice.h"
#include "selection/MusicChoice.h"
#include "services/TextureStore.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

// Runs the program on the private folder with the null GPU (no screenshots are taken).
int RunFast(HeadlessRun& run, const std::string& args) {
    return run.Run(args + " --data '" + run.work.string() + "'", "LYRANDEL_BENCH_NULL_GPU=1");
}

}  // namespace

TEST(DirectStart, AutoplayWithoutAScriptPrintsTheResultAndQuits) {
    HeadlessRun run(kMinimal);
    ASSERT_EQ(RunFast(run, "--headless --play Etude --autoplay"), 0) << run.errors;
    EXPECT_EQ(run.output,
              "result: Etude level 1: score 54500, max combo 9, Perfect 9, Great 0, OK 0, "
              "Bad 0, Miss 0\n");
    EXPECT_FALSE(fs::exists(run.work / "Save"));
    EXPECT_EQ(RunFast(run, "--headless --play Etude --level 2 --autoplay"), 0) << run.errors;
    EXPECT_EQ(run.output.rfind("result: Etude level 2: score ", 0), 0u) << run.output;
}

TEST(DirectStart, SpaceAfterTheResultGoesToTheSelectionAndTheRunIsNotRecorded) {
    // The result comes in update 812 + 60 * 5 and its ticker is gone 510 updates later.
    PlayScript script;
    script.Wait(1112 + 512);
    script.Press("SPACE");             // to the selection
    script.SignUpFromTitle("P", "1");  // E opens the configuration from the selection too
    HeadlessRun run(kMinimal);
    const fs::path file = run.work.string() + ".script";
    std::ofstream(file) << script.Text();
    ASSERT_EQ(RunFast(run, "--headless --play Etude --autoplay --script '" + file.string() + "'"),
              0)
        << run.errors;
    fs::remove(file);
    EXPECT_EQ(run.output.find("result: Etude level 1: score 54500,"), 0u) << run.output;
    // The account was made after the run: its scores would be in it, had any been recorded.
    EXPECT_EQ(run.Read("Save/P.svd"), "1\n");
}

TEST(DirectStart, UnknownTitlesAndUnplayableLevelsAreErrors) {
    HeadlessRun run(kMinimal);
    EXPECT_EQ(RunFast(run, "--headless --play Nothing --autoplay"), 1);
    EXPECT_NE(run.errors.find("no song titled \"Nothing\" in Data/Music/0.nld"), std::string::npos)
        << run.errors;
    EXPECT_EQ(RunFast(run, "--headless --play Etude --level 3 --autoplay"), 1);
    EXPECT_NE(run.errors.find("level 3 of \"Etude\" cannot be played (rated -1"), std::string::npos)
        << run.errors;
    EXPECT_EQ(RunFast(run, "--headless --play Etude --level 0 --autoplay"), 2);
    EXPECT_EQ(RunFast(run, "--headless --play Etude"), 2);  // neither a script nor the autoplay
    EXPECT_TRUE(run.output.empty());
}

// The choice as the selection would record it: the entry's place in the list (the first of
// two with one title), its title and the level as text.
class DirectChoiceTest : public scenetest::SceneHarness {};

TEST_F(DirectChoiceTest, RecordsTheEntryAsTheSelectionWould) {
    TextureStore::Get().Clear();
    WriteFile("Data/Music/0.nld", "A[1:1:1]x\nB[0:2:3]y\nB[1:1:1]z\n");
    for (const char* jacket : {"A.png", "B.png"}) WriteTexture(jacket);
    std::string error;
    ASSERT_TRUE(ChooseDirectly(L"B", 2, error)) << error;
    EXPECT_EQ(GetMusicChoice().index, 1);
    EXPECT_EQ(GetMusicChoice().title, L"B");
    EXPECT_EQ(GetMusicChoice().level, L"2");
    EXPECT_FALSE(ChooseDirectly(L"B", 1, error));  // the first B is rated 0 on level 1
    EXPECT_FALSE(ChooseDirectly(L"b", 1, error));  // titles match exactly
    EXPECT_EQ(GetMusicChoice().index, 1);
}
