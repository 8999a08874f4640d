// WorkFolder: a test fixture that runs each test in a fresh temporary working folder with empty
// settings and account records, and helpers to write and read whole files there.
// Depends on: GoogleTest, settings/Config.h, settings/PlayerProfile.h, platform/files/AtomicFile.h.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "platform/files/AtomicFile.h"
#include "settings/Config.h"
#include "settings/PlayerProfile.h"

class WorkFolder : public ::testing::Test {
  protected:
    std::filesystem::path home;
    std::filesystem::path folder;

    // Moves into a fresh folder and resets the process-wide records.
    void SetUp() override {
        home = std::filesystem::current_path();
        folder = std::filesystem::temp_directory_path() /
                 ("lyrandel-settings-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        std::filesystem::current_path(folder);
        GetConfig() = Config{};
        GetPlayerProfile() = PlayerProfile{};
    }

    // Goes back and removes the folder.
    void TearDown() override {
        platform::SetAtomicWriteHookForTesting(nullptr);
        GetPlayerProfile() = PlayerProfile{};
        std::filesystem::current_path(home);
        std::filesystem::remove_all(folder);
    }

  public:
    // Writes bytes to a file, making its folders.
    static void Write(const std::filesystem::path& path, const std::string& bytes) {
        if (path.has_parent_path()) std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
    }

    // The whole file, or "<missing>".
    static std::string Read(const std::filesystem::path& path) {
        std::ifstream in(path, std::ios::binary);
        if (!in) return "<missing>";
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    // The names in the working folder and "Save" (to see that no temporary file is left).
    static std::vector<std::string> Entries(const std::filesystem::path& dir) {
        std::vector<std::string> names;
        for (const auto& e : std::filesystem::directory_iterator(dir))
            names.push_back(e.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};
