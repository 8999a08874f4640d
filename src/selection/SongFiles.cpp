// SongFiles: pictures through the PNG decoder and header reader, sounds through the WAV reader
// or the streaming decoder, charts through the chart reader, each problem one line.
#include "selection/SongFiles.h"

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
#include "platform/ImageCodec.h"
#include "platform/PngHeader.h"
#include "platform/files/FileSystem.h"
#include "services/JacketCache.h"

namespace {

// Decodes a PNG as the texture loader does; the decoder's message names the file too, so the
// line names it once, at its start.
void DecodeProblems(const std::string& path, std::vector<std::string>& out) {
    platform::Image image;
    std::string error;
    if (platform::DecodePng(path, &image, &error)) return;
    const std::string named = " " + path + ":";
    if (const size_t at = error.find(named); at != std::string::npos)
        error.replace(at, named.size(), ":");
    out.push_back(path + ": " + error);
}

// A compressed song must decode from its first sample to its last (whole), or at least open
// and give its first piece.
void CompressedProblems(const std::string& path, bool whole, std::vector<std::string>& out) {
    int systemError = 0;
    std::string why;
    std::unique_ptr<platform::AudioDecoder> decoder =
        platform::OpenAudioDecoder(path, &systemError, &why);
    if (!decoder && systemError == ENOENT) return out.push_back(path + ": missing file");
    std::vector<float> piece(size_t(4096) * (decoder ? decoder->Format().channels : 1));
    size_t got = 1;
    while (decoder && got > 0) {
        if (!decoder->Read(piece.data(), 4096, &got, &why)) decoder.reset();
        if (!whole) break;
    }
    if (!why.empty()) out.push_back(path + ": not a readable sound file (" + why + ")");
}

// A WAV file must read and carry a format the audio engine plays.
void WavProblems(const std::string& path, std::vector<std::string>& out) {
    std::unique_ptr<uint8_t[]> data;
    size_t bytes = 0;
    DirectX::WaveFileInfo info;
    int systemError = 0;
    const DirectX::HRESULT hr =
        DirectX::ReadWavFile(platform::Utf8ToWide(path), data, bytes, info, &systemError);
    char code[16];
    std::snprintf(code, sizeof code, "%08X", static_cast<unsigned>(hr));
    if (DirectX::IsNotFound(hr))
        out.push_back(path + ": missing file");
    else if (systemError != 0)
        out.push_back(path + ": " + DirectX::SystemErrorText(systemError) + " (code " + code + ")");
    else if (DirectX::Failed(hr))
        out.push_back(path + ": not a readable WAV file (code " + code + ")");
    else if (!DirectX::IsValidWaveFormat(info.format, info.formatBytes))
        out.push_back(path + ": the wave format cannot be played");
}

}  // namespace

void PictureProblems(const std::string& path, CheckDepth depth, std::vector<std::string>& out) {
    if (!platform::PathExists(path)) return out.push_back(path + ": missing file");
    if (depth == CheckDepth::kFull) DecodeProblems(path, out);
}

void JacketProblems(const std::string& path, CheckDepth depth, std::vector<std::string>& out) {
    if (!platform::PathExists(path)) return out.push_back(path + ": missing file");
    const size_t before = out.size();
    if (depth == CheckDepth::kFull) DecodeProblems(path, out);
    if (out.size() > before) return;
    platform::PngHeader header;
    std::string error;
    if (!platform::ReadPngHeader(path, &header, &error)) return out.push_back(path + ": " + error);
    if (std::string problem = JacketSizeProblem(header); !problem.empty())
        out.push_back(path + ": " + problem);
}

void SoundProblems(const std::string& path, bool compressed, CheckDepth depth,
                   std::vector<std::string>& out, bool whole) {
    if (depth == CheckDepth::kPresence) {
        if (!platform::PathExists(path)) out.push_back(path + ": missing file");
        return;
    }
    if (compressed) return CompressedProblems(path, whole, out);
    WavProblems(path, out);
}

std::vector<std::string> SongProblems(const MusicEntry& entry, const LocateFile& locate,
                                      const SongCheck& check) {
    std::vector<std::string> problems;
    if (check.jacket)
        JacketProblems(locate(L"Data/Texture/" + entry.title + L".png"), check.depth, problems);
    std::string path;
    const std::wstring song = LocateSongFile(entry.title, locate, &path);
    SoundProblems(path, DirectX::IsCompressedSoundName(song), check.depth, problems,
                  check.wholeSound);
    const std::wstring folder = L"Data/Music/" + entry.title + L"/";
    for (int level = 1; level <= 3; ++level) {
        if (entry.levels[level - 1] < 1) continue;
        ChartContent chart;
        path = locate(folder + std::to_wstring(level) + L".nsd");
        for (std::string& p : ReadChart(path, chart, check.authoring))
            problems.push_back(std::move(p));
    }
    return problems;
}
