// "Display.cfg": the remembered window or fullscreen, apart from "Config.cfg".
#include <gtest/gtest.h>

#include "WorkFolder.h"
#include "settings/DisplayFile.h"

namespace {
using DisplayFile = WorkFolder;
}  // namespace

TEST_F(DisplayFile, RemembersTheChoiceBesideAnUntouchedConfiguration) {
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
    // Other keys are skipped; a value other than 0 or 1 is named with its line.
    Write("Display.cfg", "Monitor[1]\r\nFullscreen[yes]\r\n");
    EXPECT_FALSE(LoadDisplayChoice(&fullscreen, &error));
    EXPECT_FALSE(fullscreen);
    EXPECT_EQ(error, "Display.cfg:2: Fullscreen must be 0 or 1");
}
