// The player's folder: where the environment puts it, made private, one game at a time; and
// save files that stay private to the player.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <optional>

#include "platform/files/PlayerFolder.h"
#include "settings/WorkFolder.h"

namespace fs = std::filesystem;

namespace {

// Sets or unsets an environment variable for one scope.
class EnvScope {
  public:
    EnvScope(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        value ? ::setenv(name, value, 1) : ::unsetenv(name);
    }
    ~EnvScope() { old_ ? ::setenv(name_, old_->c_str(), 1) : ::unsetenv(name_); }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

// The permission bits of a path.
unsigned Mode(const fs::path& path) {
    struct stat info;
    return ::stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0xFFFF;
}

}  // namespace

TEST(PlayerFolder, EnvironmentNamesTheFolder) {
    std::string folder, error;
    {
        EnvScope xdg("XDG_DATA_HOME", "/data/me"), home("HOME", "/home/me");
        ASSERT_TRUE(platform::PlayerFolderPath(&folder, &error));
        EXPECT_EQ(folder, "/data/me/lyrandel");
    }
    {
        // A relative or empty XDG_DATA_HOME is not a base folder: HOME's default holds.
        EnvScope xdg("XDG_DATA_HOME", "relative/data"), home("HOME", "/home/me");
        ASSERT_TRUE(platform::PlayerFolderPath(&folder, &error));
        EXPECT_EQ(folder, "/home/me/.local/share/lyrandel");
    }
    {
        EnvScope xdg("XDG_DATA_HOME", nullptr), home("HOME", nullptr);
        EXPECT_FALSE(platform::PlayerFolderPath(&folder, &error));
        EXPECT_NE(error.find("neither XDG_DATA_HOME nor HOME"), std::string::npos) << error;
    }
}

class PrivateFiles : public WorkFolder {};

TEST_F(PrivateFiles, FolderIsMadePrivateAndLockedForOneGame) {
    const fs::path player = folder / "home/.local/share/lyrandel";
    std::string error;
    ASSERT_TRUE(platform::MakePlayerFolder(player.string(), &error)) << error;
    EXPECT_EQ(Mode(player), 0700u);
    ASSERT_TRUE(platform::LockFolder(player.string(), &error)) << error;
    // Another holder of the lock (a second game) is refused until the first ends.
    EXPECT_FALSE(platform::LockFolder(player.string(), &error));
    EXPECT_NE(error.find("already running"), std::string::npos) << error;
}

TEST_F(PrivateFiles, SaveFileAndItsFolderAreTheOwnersAloneAndAreTightened) {
    GetPlayerProfile().name = L"P1";
    GetPlayerProfile().password = L"SECRET";
    GetPlayerProfile().state = AccountState::kSignedIn;
    ASSERT_TRUE(SaveProfile());
    EXPECT_EQ(Mode("Save"), 0700u);
    EXPECT_EQ(Mode("Save/P1.svd"), 0600u);

    // Files and folders left readable by others (an older version, a copied backup) are
    // tightened by the next write.
    ::chmod("Save", 0755);
    ::chmod("Save/P1.svd", 0644);
    ASSERT_TRUE(SaveProfile());
    EXPECT_EQ(Mode("Save"), 0700u);
    EXPECT_EQ(Mode("Save/P1.svd"), 0600u);
    EXPECT_EQ(Read("Save/P1.svd"), "SECRET\n");
}

// A player's folder others may write in, or another user's, is refused with the reason; the
// player's own private folder passes.
TEST_F(PrivateFiles, AFolderOthersCouldChangeIsRefused) {
    const fs::path player = folder / "share/lyrandel";
    std::string error;
    ASSERT_TRUE(platform::MakePlayerFolder(player.string(), &error)) << error;
    EXPECT_TRUE(platform::CheckPlayerFolderIsOwn(player.string(), &error)) << error;
    ::chmod(player.c_str(), 0755);  // readable by others is the player's choice
    EXPECT_TRUE(platform::CheckPlayerFolderIsOwn(player.string(), &error)) << error;
    for (const unsigned mode : {0770u, 0703u}) {
        ::chmod(player.c_str(), mode);
        EXPECT_FALSE(platform::CheckPlayerFolderIsOwn(player.string(), &error)) << mode;
        EXPECT_NE(error.find("can be written by others"), std::string::npos) << error;
    }
    ::chmod(player.c_str(), 0700);
    EXPECT_FALSE(platform::CheckPlayerFolderIsOwn((folder / "missing").string(), &error));
    if (::chown(player.c_str(), 65534, 65534) != 0)
        GTEST_SKIP() << "only an administrator can give the folder to another user here";
    EXPECT_FALSE(platform::CheckPlayerFolderIsOwn(player.string(), &error));
    EXPECT_NE(error.find("belongs to another user (user id 65534)"), std::string::npos) << error;
}
