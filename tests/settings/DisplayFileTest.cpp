// "Display.cfg": the remembered window or fullscreen, apart from "Config.cfg".
#include <gtest/gtest.h>

#include "WorkFolder.h"
#include "settings/DisplayFile.h"

namespace {
using DisplayFile = WorkFolder;
}  // namespace

TEST_F(DisplayFile, RemembersTheChoiceAndLeavesTheConfigurationAlone) {
    bool fullscreen = true;
    std::string error;
    EXPECT_TRUE(LoadDisplayChoice(&fullscreen, &error));  // no file: a window
    EXPECT_FALSE(fullscreen);
    Write("Config.cfg", "Volume[0.5]\n");
    ASSERT_TRUE(SaveDisplayChoice(true, &error)) << error;
    EXPECT_EQ(Read("Display.cfg"), "Fullscreen[1]\n");
    EXPECT_EQ(Read("Config.cfg"), "Volume[0.5]\n");
    ASSERT_TRUE(LoadDisplayChoice(&fullscreen, &error));
    EXPECT_TRUE(fullscreen);
    ASSERT_TRUE(SaveDisplayChoice(false, &error));
    ASSERT_TRUE(LoadDisplayChoice(&fullscreen, &error));
    EXPECT_FALSE(fullscreen);
}

TEST_F(DisplayFile, OtherKeysAreSkippedAndABadValueIsNamedWithItsLine) {
    bool fullscreen = false;
    std::string error;
    EXPECT_TRUE(ParseDisplayText("Monitor[2]\r\nFullscreen[1]\r\n", &fullscreen, &error));
    EXPECT_TRUE(fullscreen);
    Write("Display.cfg", "Monitor[1]\nFullscreen[yes]\n");
    EXPECT_FALSE(LoadDisplayChoice(&fullscreen, &error));
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(error, "Display.cfg:2: Fullscreen must be 0 or 1");
    EXPECT_FALSE(ParseDisplayText("Fullscreen[1", &fullscreen, &error));
}
