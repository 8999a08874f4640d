// The save at the end of a run, through the headless program: a sign-up quit in its password
// entry writes nothing, and a save that fails names the account and its file and fails the run.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

const fs::path kMinimal = fs::path(LYRANDEL_TEST_DIR) / "data/minimal";

TEST(ExitSave, ASignUpQuitInItsPasswordEntryLeavesNoFile) {
    PlayScript script;
    script.Press("E");
    script.ToAccount();
    script.Press("SPACE");
    script.Press("D");  // sign up
    script.Type("NEW");
    script.Press("SPACE");
    script.Type("12");  // the password's Space never comes: the window closes
    HeadlessRun run(kMinimal);
    EXPECT_EQ(run.Play(script.Text()), 0) << run.errors;
    EXPECT_EQ(run.errors, "");
    EXPECT_FALSE(fs::exists(run.work / "Save/NEW.svd"));
}

TEST(ExitSave, AFailedSaveNamesTheAccountAndTheFileAndFailsTheRun) {
    HeadlessRun run(kMinimal);
    std::ofstream(run.work / "Save") << "a file where the folder belongs\n";
    PlayScript script;
    script.SignUpFromTitle("P1", "X");
    EXPECT_EQ(run.Play(script.Text()), 1);
    EXPECT_NE(run.errors.find("lyrandel: cannot save account P1 to Save/P1.svd: cannot make "
                              "folder Save"),
              std::string::npos)
        << run.errors;
}

}  // namespace
