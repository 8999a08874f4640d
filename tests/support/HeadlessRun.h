// HeadlessRun: runs the lyrandel program in the headless mode on a private copy of a content
// folder, for end-to-end tests: the script, the exit status, stderr and the files left behind.
// Depends on: the lyrandel program (LYRANDEL_BINARY), std::filesystem.
#pragma once

#include <filesystem>
#include <string>

struct HeadlessRun {
    std::filesystem::path work;             // private content folder the run played in
    int status = -1;                        // exit status of the program
    std::string errors;                     // what it printed on stderr
    std::string output;                     // what it printed on stdout
    std::string program = LYRANDEL_BINARY;  // the program Run starts (an installed copy)

    // Copies content (may be empty for a bare folder) into a fresh private folder.
    explicit HeadlessRun(const std::filesystem::path& content);
    ~HeadlessRun();
    HeadlessRun(const HeadlessRun&) = delete;
    HeadlessRun& operator=(const HeadlessRun&) = delete;

    // Runs the game on the script text with extra options; returns the exit status.
    int Play(const std::string& script, const std::string& extraArgs = "");
    // Runs the program with arbitrary options (the folder is given by --data) and extra
    // environment assignments; returns the exit status.
    int Run(const std::string& args, const std::string& env = "");
    // Reads a file of the private folder as bytes ("" when missing).
    std::string Read(const std::filesystem::path& relative) const;
};

// The folder of the generated demo content, or empty when the build has none.
std::filesystem::path DemoContentDir();
