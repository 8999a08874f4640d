// Golden screenshots of every screen, taken by the headless program on the demo content:
// title, configuration (menu, an editor, the password entry), selection, and a short play
// (countdown, notes falling, result).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "../platform/HeadlessDevice.h"
#include "support/HeadlessRun.h"
#include "support/PlayScript.h"

namespace fs = std::filesystem;

namespace {

// A short chart for the first song, so the result comes after a few seconds.
constexpr const char* kShortChart =
    "BPM[126]\nSecond[2]\n[RU 0.2]\n[BL 0.25]\n[RD,BU,0.3]\n[RL 0.35]\n[BR 0.4]\n[RR 0.6]\n"
    "[BD 0.7]\n[RU 0.8]\n[BL 0.9]\n";

// Screens in script order: name and the frame after which it is taken.
struct Screen {
    const char* name;
    uint64_t frame;
};

}  // namespace

TEST(ScreenGolden, EveryScreenLooksAsRecorded) {
    if (DemoContentDir().empty()) GTEST_SKIP() << "no demo content";
    HeadlessRun run(DemoContentDir());
    for (const auto& entry : fs::directory_iterator(run.work / "Data/Music"))
        if (entry.is_directory() && fs::exists(entry.path() / "1.nsd") &&
            entry.path().filename().string().rfind("\xE6\x98\x9F", 0) == 0)  // the first song
            std::ofstream(entry.path() / "1.nsd", std::ios::trunc) << kShortChart;

    PlayScript s;
    s.Wait(40);
    s.Press("E");
    s.Wait(4);
    const uint64_t menu = s.nextFrame() - 1;
    s.Press("D");
    s.Press("SPACE");
    s.Press("D");
    const uint64_t editor = s.nextFrame() - 1;
    s.Press("SPACE");
    for (int i = 0; i < 6; ++i) s.Press("D");  // "MasterVolume" to "Account"
    s.Press("SPACE");
    s.Press("D");
    s.Type("QZ");
    s.Press("SPACE");
    s.Type("ZZ9");
    const uint64_t password = s.nextFrame() - 1;
    s.Press("BACKSPACE");  // leaves the sign-up without an account
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("BACKSPACE");
    s.Press("SPACE");
    s.AccountToTitle();
    s.Press("SPACE");
    s.Press("SPACE");
    s.Wait(30);
    const uint64_t selection = s.nextFrame() - 1;
    const uint64_t start = s.Press("SPACE");
    const std::vector<Screen> screens = {
        {"title.png", 40},
        {"config-menu.png", menu},
        {"config-editor.png", editor},
        {"config-password.png", password},
        {"selection.png", selection},
        {"play-countdown.png", start + 100},
        {"play-notes.png", start + 420},
        {"result.png", start + 812 + 120 + 100},
    };
    for (const Screen& screen : screens) s.Shot(screen.frame, (run.work / screen.name).string());
    s.Wait(812 + 120 + 120);
    ASSERT_EQ(run.Play(s.Text()), 0) << run.errors;
    for (const Screen& screen : screens)
        gltest::ExpectGoldenFile((run.work / screen.name).string(),
                                 std::string("screens/") + screen.name);
}
