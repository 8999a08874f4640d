// ContentCheck: configuration, music list, jackets, charts, textures and sounds, each read the
// way the game reads it, every problem collected instead of stopping at the first.
#include "shell/ContentCheck.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <memory>

#include "audio/SongFile.h"
#include "gameplay/ChartReader.h"
#include "media/SoundEffect.h"
#include "media/SystemError.h"
#include "media/WAVFileReader.h"
#include "platform/AudioDecoder.h"
#include "platform/Codepage.h"
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

// A PNG must decode as the texture loader decodes it.
void CheckTexture(const std::string& path, Problems& out) {
    if (!std::filesystem::exists(path)) return out.push_back(path + ":0: missing file");
    platform::Image image;
    std::string error;
    if (!platform::DecodePng(path, &image, &error)) out.push_back(path + ":0: " + error);
}

// A compressed song must decode from its first sample to its last.
void CheckCompressedSound(const std::string& name, Problems& out) {
    int systemError = 0;
    std::string why;
    std::unique_ptr<platform::AudioDecoder> decoder =
        platform::OpenAudioDecoder(name, &systemError, &why);
    if (!decoder && systemError == ENOENT) return out.push_back(name + ":0: missing file");
    std::vector<float> piece(size_t(4096) * (decoder ? decoder->Format().channels : 1));
    size_t got = 1;
    while (decoder && got > 0)
        if (!decoder->Read(piece.data(), 4096, &got, &why)) decoder.reset();
    if (!why.empty()) out.push_back(name + ":0: not a readable sound file (" + why + ")");
}

// A sound must read and carry a format the audio engine plays.
void CheckSound(const std::wstring& path, Problems& out) {
    const std::string name = platform::WideToUtf8(path);
    if (DirectX::IsCompressedSoundName(path)) return CheckCompressedSound(name, out);
    std::unique_ptr<uint8_t[]> data;
    size_t bytes = 0;
    DirectX::WaveFileInfo info;
    int systemError = 0;
    const DirectX::HRESULT hr = DirectX::ReadWavFile(path, data, bytes, info, &systemError);
    char code[16];
    std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(hr));
    if (DirectX::IsNotFound(hr))
        out.push_back(name + ":0: missing file");
    else if (systemError != 0)
        out.push_back(name + ":0: " + DirectX::SystemErrorText(systemError) + " (code " + code +
                      ")");
    else if (DirectX::Failed(hr))
        out.push_back(name + ":0: not a readable WAV file (code " + code + ")");
    else if (!DirectX::IsValidWaveFormat(info.format, info.formatBytes))
        out.push_back(name + ":0: the wave format cannot be played");
}

// Checks every chart of every playable level and each song of the list.
void CheckSongs(const std::vector<MusicEntry>& entries, Problems& out) {
    for (const MusicEntry& entry : entries) {
        const std::wstring folder = L"Data/Music/" + entry.title + L"/";
        CheckSound(SongFilePath(entry.title), out);
        for (int level = 1; level <= 3; ++level) {
            if (entry.levels[level - 1] < 1) continue;
            ChartContent chart;
            const std::string path =
                platform::WideToUtf8(folder + std::to_wstring(level) + L".nsd");
            for (std::string& p : CheckChartFile(path, chart)) out.push_back(std::move(p));
        }
    }
}

// Reads the music list with every jacket checked; the songs of what could be read follow.
void CheckMusic(Problems& out) {
    std::vector<MusicEntry> entries;
    std::string error;
    const JacketLoader checkJacket = [&out](const std::wstring& title) {
        CheckTexture(platform::WideToUtf8(L"Data/Texture/" + title + L".png"), out);
        return true;
    };
    if (!ReadMusicList(entries, error, checkJacket)) out.push_back(error);
    CheckSongs(entries, out);
}

}  // namespace

std::vector<std::string> CheckContent() {
    Problems problems;
    std::string error;
    if (!LoadConfig(&error)) problems.push_back(error);
    CheckMusic(problems);
    for (const char* file : kTextures) CheckTexture(std::string("Data/Texture/") + file, problems);
    for (const wchar_t* sound : kSounds) CheckSound(sound, problems);
    return problems;
}

int RunContentCheck() {
    const Problems problems = CheckContent();
    for (const std::string& p : problems) std::printf("%s\n", p.c_str());
    if (problems.empty()) {
        std::printf("content is fine\n");
        return 0;
    }
    std::fprintf(stderr, "lyrandel: %zu problem%s found\n", problems.size(),
                 problems.size() == 1 ? "" : "s");
    return 1;
}
