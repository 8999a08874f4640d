// ContentCheck: configuration, music list, jackets, charts, textures and sounds, each found and
// read the way the game finds and reads it, every problem collected instead of stopping at the
// first; a file found only under a name of another letter case is a warning.
#include "shell/ContentCheck.h"

#include <cstdio>

#include "media/SoundEffect.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "selection/MusicList.h"
#include "selection/SongFiles.h"
#include "settings/Config.h"

namespace {

using Problems = std::vector<std::string>;

// Textures the screens load by fixed name.
constexpr const char* kTextures[] = {
    "lumo-btleffect112f.png", "SelectMusic.png", "Hit.png",       "Up_Red.png",
    "Right_Red.png",          "Down_Red.png",    "Left_Red.png",  "Up_Blue.png",
    "Right_Blue.png",         "Down_Blue.png",   "Left_Blue.png", "kk.png",
};
// Sounds the screens play by fixed name.
constexpr const wchar_t* kSounds[] = {
    L"Data/Sound/Zaroz.uro",
    L"Data/SE/card-turn-over1.wav",
    L"Data/SE/kira2.wav",
    L"Data/SE/タンバリンの音.wav",
};

// What one check run gathers.
struct CheckRun {
    CheckDepth depth = CheckDepth::kFull;
    Problems problems;
    Problems warnings;
};

// Finds a content file for the check: the path to read, or where it was expected when no
// folder holds it (the readers then report it missing). A name that differs in letter case is
// used, with a warning.
std::string Locate(const std::wstring& relative, CheckRun& run) {
    const platform::FoundFile found = platform::FindContent(relative);
    if (found.path.empty()) return platform::ExpectedContentPath(relative);
    if (found.caseDiffers)
        run.warnings.push_back(platform::WideToUtf8(relative) + ": warning: read from " +
                               found.path + ", whose name differs in letter case");
    return found.path;
}

// A PNG must decode as the texture loader decodes it.
void CheckTexture(const std::wstring& relative, CheckRun& run) {
    PictureProblems(Locate(relative, run), run.depth, run.problems);
}

// A sound must read and carry a format the audio engine plays.
void CheckSound(const std::wstring& relative, CheckRun& run) {
    SoundProblems(Locate(relative, run), DirectX::IsCompressedSoundName(relative), run.depth,
                  run.problems);
}

// Checks the song file and every chart of every playable level of each song of the list.
void CheckSongs(const std::vector<MusicEntry>& entries, CheckRun& run) {
    const LocateFile locate = [&run](const std::wstring& relative) {
        return Locate(relative, run);
    };
    SongCheck check;
    check.depth = run.depth;
    check.jacket = false;  // read with the list
    check.authoring = true;
    for (const MusicEntry& entry : entries)
        for (std::string& p : SongProblems(entry, locate, check))
            run.problems.push_back(std::move(p));
}

// Reads the music lists with every jacket checked; the songs of what could be read follow.
void CheckMusic(CheckRun& run) {
    std::vector<MusicEntry> entries;
    const JacketLoader checkJacket = [&run](const std::wstring& title) {
        JacketProblems(Locate(L"Data/Texture/" + title + L".png", run), run.depth, run.problems);
        return true;
    };
    std::vector<std::string> errors;
    ReadMusicLists(entries, errors, checkJacket);
    for (std::string& e : errors) run.problems.push_back(std::move(e));
    CheckSongs(entries, run);
}

}  // namespace

std::vector<std::string> CheckContent(CheckDepth depth, std::vector<std::string>* warnings) {
    CheckRun run;
    run.depth = depth;
    std::string error;
    if (depth == CheckDepth::kFull && !LoadConfig(&error)) run.problems.push_back(error);
    CheckMusic(run);
    for (const char* file : kTextures)
        CheckTexture(L"Data/Texture/" + platform::Utf8ToWide(file), run);
    for (const wchar_t* sound : kSounds) CheckSound(sound, run);
    if (warnings) *warnings = std::move(run.warnings);
    return run.problems;
}

int RunContentCheck() {
    std::vector<std::string> warnings;
    const Problems problems = CheckContent(CheckDepth::kFull, &warnings);
    for (const std::string& w : warnings) std::printf("%s\n", w.c_str());
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
        std::printf("content is fine\n");
        return 0;
    }
    std::fprintf(stderr, "lyrandel: %zu problem%s found\n", problems.size(),
                 problems.size() == 1 ? "" : "s");
    return 1;
}
