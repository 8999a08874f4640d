// ContentCheck: configuration, music list, jackets, charts, textures and sounds, each found and
// read the way the game finds and reads it, every problem collected instead of stopping at the
// first; a file found only under a name of another letter case is a warning.
#include "shell/ContentCheck.h"

#include <cerrno>
#include <cstdio>
#include <memory>

#include "audio/SongFile.h"
#include "gameplay/ChartReader.h"
#include "media/SoundEffect.h"
#include "media/SystemError.h"
#include "media/WAVFileReader.h"
#include "platform/AudioDecoder.h"
#include "platform/Codepage.h"
#include "platform/files/ContentFiles.h"
#include "platform/files/FileSystem.h"
#include "platform/ImageCodec.h"
#include "selection/MusicList.h"
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
    const std::string path = Locate(relative, run);
    if (!platform::PathExists(path)) return run.problems.push_back(path + ": missing file");
    if (run.depth == CheckDepth::kPresence) return;
    platform::Image image;
    std::string error;
    if (platform::DecodePng(path, &image, &error)) return;
    // The decoder's message names the file too; the line names it once, at its start.
    const std::string named = " " + path + ":";
    if (const size_t at = error.find(named); at != std::string::npos)
        error.replace(at, named.size(), ":");
    run.problems.push_back(path + ": " + error);
}

// A compressed song must decode from its first sample to its last.
void CheckCompressedSound(const std::string& name, Problems& out) {
    int systemError = 0;
    std::string why;
    std::unique_ptr<platform::AudioDecoder> decoder =
        platform::OpenAudioDecoder(name, &systemError, &why);
    if (!decoder && systemError == ENOENT) return out.push_back(name + ": missing file");
    std::vector<float> piece(size_t(4096) * (decoder ? decoder->Format().channels : 1));
    size_t got = 1;
    while (decoder && got > 0)
        if (!decoder->Read(piece.data(), 4096, &got, &why)) decoder.reset();
    if (!why.empty()) out.push_back(name + ": not a readable sound file (" + why + ")");
}

// A sound must read and carry a format the audio engine plays.
void CheckSound(const std::wstring& relative, CheckRun& run) {
    const std::string name = Locate(relative, run);
    if (run.depth == CheckDepth::kPresence) {
        if (!platform::PathExists(name)) run.problems.push_back(name + ": missing file");
        return;
    }
    if (DirectX::IsCompressedSoundName(relative)) return CheckCompressedSound(name, run.problems);
    std::unique_ptr<uint8_t[]> data;
    size_t bytes = 0;
    DirectX::WaveFileInfo info;
    int systemError = 0;
    const DirectX::HRESULT hr =
        DirectX::ReadWavFile(platform::Utf8ToWide(name), data, bytes, info, &systemError);
    char code[16];
    std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(hr));
    if (DirectX::IsNotFound(hr))
        run.problems.push_back(name + ": missing file");
    else if (systemError != 0)
        run.problems.push_back(name + ": " + DirectX::SystemErrorText(systemError) + " (code " +
                               code + ")");
    else if (DirectX::Failed(hr))
        run.problems.push_back(name + ": not a readable WAV file (code " + code + ")");
    else if (!DirectX::IsValidWaveFormat(info.format, info.formatBytes))
        run.problems.push_back(name + ": the wave format cannot be played");
}

// Checks every chart of every playable level and each song of the list.
void CheckSongs(const std::vector<MusicEntry>& entries, CheckRun& run) {
    for (const MusicEntry& entry : entries) {
        const std::wstring folder = L"Data/Music/" + entry.title + L"/";
        CheckSound(SongFilePath(entry.title), run);
        for (int level = 1; level <= 3; ++level) {
            if (entry.levels[level - 1] < 1) continue;
            const std::string path = Locate(folder + std::to_wstring(level) + L".nsd", run);
            ChartContent chart;
            for (std::string& p : CheckChartFile(path, chart)) run.problems.push_back(std::move(p));
        }
    }
}

// Reads the music lists with every jacket checked; the songs of what could be read follow.
void CheckMusic(CheckRun& run) {
    std::vector<MusicEntry> entries;
    const JacketLoader checkJacket = [&run](const std::wstring& title) {
        CheckTexture(L"Data/Texture/" + title + L".png", run);
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
