// The content tree: which file holds what, and in which encoding.
// Depends on: Generator.h, the painters, the sound makers, Charts.h, Catalog.h, FileOut.h,
// PngWriter.h, WavWriter.h, platform/Codepage.h.
#include "Generator.h"

#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "Catalog.h"
#include "Charts.h"
#include "Effects.h"
#include "FileOut.h"
#include "Jacket.h"
#include "PngWriter.h"
#include "SongRender.h"
#include "Textures.h"
#include "WavWriter.h"
#include "platform/Codepage.h"

namespace democontent {

namespace fs = std::filesystem;

namespace {

// The settings file with the game's defaults, byte for byte as the game writes it.
constexpr char kDefaultConfig[] =
    "Volume[1.000000]\n"
    "BGMVolume[1.000000]\n"
    "SEVolume[1.000000]\n"
    "HitGap[0.000000]\n"
    "HitLine[500.000000]\n"
    "HiSpeed[2.000000]\n";

// A path below root from a wide name (UTF-8 on the file system).
fs::path Under(const fs::path& folder, const std::wstring& name) {
    return folder / fs::path(platform::WideToUtf8(name));
}

// Writes a painted canvas as a PNG file.
void WritePng(const fs::path& path, const Canvas& canvas) {
    WriteFileAtomic(path, EncodePng(canvas.Width(), canvas.Height(), canvas.ToRgba8()));
}

// The textures of the game screens.
void WriteScreenTextures(const fs::path& textures) {
    WritePng(textures / "Hit.png", PaintHitMarker());
    static const char* const kWords[4] = {"Up", "Right", "Down", "Left"};
    for (int d = 0; d < 4; ++d) {
        WritePng(textures / (std::string(kWords[d]) + "_Red.png"),
                 PaintArrow(static_cast<Direction>(d), true));
        WritePng(textures / (std::string(kWords[d]) + "_Blue.png"),
                 PaintArrow(static_cast<Direction>(d), false));
    }
    WritePng(textures / "kk.png", PaintTrack());
    WritePng(textures / "SelectMusic.png", PaintSelectionFrame());
    WritePng(textures / "lumo-btleffect112f.png", PaintEffectSheet());
}

// The sound effects and the title tune.
void WriteSounds(const fs::path& data) {
    WriteFileAtomic(data / "SE" / "card-turn-over1.wav", EncodeWav(MakeCardTurn()));
    WriteFileAtomic(data / "SE" / "kira2.wav", EncodeWav(MakeSparkle()));
    WriteFileAtomic(Under(data / "SE", L"タンバリンの音.wav"), EncodeWav(MakeTambourine()));
    WriteFileAtomic(data / "Sound" / "Zaroz.uro", EncodeWav(MakeTitleTune()));
}

// One song: its music, its three charts and its jacket.
void WriteSong(const fs::path& data, const SongPlan& plan) {
    if (!IsSafeTitle(plan.title)) {
        throw std::runtime_error("song title cannot be used as a file name: " +
                                 platform::WideToUtf8(plan.title));
    }
    const Arrangement arrangement = Arrange(plan);
    const fs::path folder = Under(data / "Music", plan.title);
    WriteFileAtomic(Under(folder, plan.title + L".wav"),
                    EncodeWav(RenderSong(arrangement, plan.seed)));
    const int second = PlaySeconds(arrangement.totalFrames);
    for (int level = 1; level <= 3; ++level) {
        WriteFileAtomic(folder / (std::to_string(level) + ".nsd"),
                        ChartText(arrangement, ChartForLevel(arrangement, level), second));
    }
    WritePng(Under(data / "Texture", plan.title + L".png"), PaintJacket(plan));
}

// The music list in code page 932: title[level1:level2:level3]credit, one line per song.
void WriteMusicList(const fs::path& data, const std::vector<SongPlan>& songs) {
    std::wstring text;
    for (const SongPlan& s : songs) {
        text += s.title + L"[" + std::to_wstring(s.ratings[0]) + L":" +
                std::to_wstring(s.ratings[1]) + L":" + std::to_wstring(s.ratings[2]) + L"]" +
                s.credit + L"\n";
    }
    auto bytes = platform::WideToCp932(text);
    if (!bytes) throw std::runtime_error("music list has characters outside code page 932");
    WriteFileAtomic(data / "Music" / "0.nld", *bytes);
}

}  // namespace

// True when a title can serve as a folder and file name and as a music list entry.
bool IsSafeTitle(const std::wstring& title) {
    if (title.empty() || title == L"." || title.find(L"..") != std::wstring::npos) return false;
    for (wchar_t c : title) {
        if (c < 0x20 || c == L'/' || c == L'\\' || c == L'[' || c == 0x7F) return false;
    }
    return platform::WideToCp932(title).has_value();
}

// Writes the tree under root.
void GenerateContent(const fs::path& root) {
    if (!fs::exists(root / "Config.cfg")) WriteFileAtomic(root / "Config.cfg", kDefaultConfig);
    const fs::path data = root / "Data";
    const std::vector<SongPlan> songs = DemoSongs();
    // Songs are independent of each other, so they render side by side; each writes only
    // its own files, and the results do not depend on the order in which they finish.
    std::vector<std::future<void>> pending;
    for (const SongPlan& s : songs) {
        pending.push_back(std::async(std::launch::async, [&data, &s] { WriteSong(data, s); }));
    }
    WriteScreenTextures(data / "Texture");
    WriteSounds(data);
    for (auto& p : pending) p.get();  // rethrows the first failure
    WriteMusicList(data, songs);
}

}  // namespace democontent
