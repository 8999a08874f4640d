// HeadlessRun: private content folders and runs of the program for end-to-end tests.
#include "support/HeadlessRun.h"

#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

// A folder name unique across the processes and tests running at once.
fs::path UniqueFolder() {
    static std::atomic<int> counter{0};
    std::ostringstream name;
    name << "lyrandel-e2e-" << getpid() << "-" << counter++;
    return fs::temp_directory_path() / name.str();
}

}  // namespace

HeadlessRun::HeadlessRun(const fs::path& content) : work(UniqueFolder()) {
    fs::remove_all(work);
    fs::create_directories(work);
    if (!content.empty()) fs::copy(content, work, fs::copy_options::recursive);
}

HeadlessRun::~HeadlessRun() {
    std::error_code ignored;
    if (!std::getenv("LYRANDEL_KEEP_E2E")) fs::remove_all(work, ignored);
}

int HeadlessRun::Run(const std::string& args, const std::string& env) {
    const fs::path err = work.string() + ".stderr";
    const fs::path out = work.string() + ".stdout";
    // Driver libraries of the offscreen GL stack leak at exit; leaks are checked in-process.
    // Stdout goes to a file unless the arguments redirect it themselves (theirs come later).
    const std::string cmd =
        "ASAN_OPTIONS=detect_leaks=0 SDL_VIDEODRIVER=offscreen ALSOFT_DRIVERS=null " + env + " '" +
        program + "' >'" + out.string() + "' " + args + " 2>'" + err.string() + "'";
    const int raw = std::system(cmd.c_str());
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
    std::ifstream in(err, std::ios::binary);
    errors.assign(std::istreambuf_iterator<char>(in), {});
    std::ifstream printed(out, std::ios::binary);
    output.assign(std::istreambuf_iterator<char>(printed), {});
    fs::remove(err);
    fs::remove(out);
    return status;
}

int HeadlessRun::Play(const std::string& script, const std::string& extraArgs) {
    const fs::path scriptPath = work.string() + ".script";
    std::ofstream(scriptPath) << script;
    // A run that takes no screenshot needs no pixels: the null GPU back end plays the same
    // game without the software rasteriser's cost.
    const bool shots = script.find(" shot ") != std::string::npos;
    Run("--headless --script '" + scriptPath.string() + "' --data '" + work.string() + "' " +
            extraArgs,
        shots ? "" : "LYRANDEL_BENCH_NULL_GPU=1");
    fs::remove(scriptPath);
    return status;
}

std::string HeadlessRun::Read(const fs::path& relative) const {
    std::ifstream in(work / relative, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

fs::path DemoContentDir() {
    const fs::path dir = fs::path(LYRANDEL_BINARY).parent_path() / "demo-content";
    return fs::exists(dir / "Data") ? dir : fs::path();
}
