// BigLibrary: numbered copies of the demo songs with stamped jackets and linked files.
#include "BigLibrary.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

#include "platform/Codepage.h"
#include "platform/ImageCodec.h"
#include "selection/MusicList.h"
#include "selection/PacksFile.h"

namespace fs = std::filesystem;

namespace {

// Fills error and returns false.
bool Fail(std::string* error, const std::string& why) {
    if (error) *error = why;
    return false;
}

// The demo's music list, read with the game's parser (jackets are not looked at).
bool ReadDemoList(const fs::path& demo, std::vector<MusicEntry>& entries, std::string* error) {
    std::ifstream in(demo / kMusicListPath, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), {});
    const auto text = platform::Cp932ToWide(bytes);
    if (!in.good() && !in.eof()) return Fail(error, "cannot read the demo's music list");
    MusicListError failure;
    if (!text ||
        !ParseMusicList(
            *text, [](const std::wstring&) { return true; }, entries, failure) ||
        entries.empty())
        return Fail(error, "the demo's music list cannot be used: " + failure.message);
    return true;
}

// Songs in each pack of the library's packs file.
constexpr int kSongsPerPack = 100;
// What the library holds besides its songs; a library of another version is made again.
constexpr int kLibraryVersion = 2;

// The jacket with the number drawn as fourteen bars across its lower edge, light for a one bit.
platform::Image Stamped(const platform::Image& jacket, int number) {
    platform::Image out = jacket;
    for (int bit = 0; bit < 14; ++bit) {
        const uint8_t shade = (number >> bit) & 1 ? 240 : 16;
        for (int y = std::max(0, out.height - 20); y < out.height - 4; ++y)
            for (int x = 8 + bit * 17; x < 8 + bit * 17 + 13 && x < out.width; ++x) {
                uint8_t* p = &out.rgba[(size_t(y) * out.width + x) * 4];
                p[0] = p[1] = p[2] = shade;
                p[3] = 255;
            }
    }
    return out;
}

// Links the song's charts and song file into its folder.
bool LinkSong(const fs::path& from, const std::wstring& fromTitle, const fs::path& to,
              const std::wstring& title, std::string* error) {
    std::error_code ec;
    fs::create_directories(to, ec);
    for (const char* chart : {"1.nsd", "2.nsd", "3.nsd"})
        if (fs::exists(from / chart))
            fs::create_symlink(fs::absolute(from / chart), to / chart, ec);
    const fs::path song = from / platform::WideToUtf8(fromTitle + L".wav");
    if (fs::exists(song))
        fs::create_symlink(fs::absolute(song), to / platform::WideToUtf8(title + L".wav"), ec);
    return ec ? Fail(error, "cannot link into " + to.string() + ": " + ec.message()) : true;
}

// The number written in four digits.
std::wstring FourDigits(int i) {
    std::wstring n = std::to_wstring(i);
    return std::wstring(n.size() < 4 ? 4 - n.size() : 0, L'0') + n;
}

}  // namespace

bool MakeBigLibrary(const fs::path& demo, const fs::path& out, int songs, std::string* error) {
    const fs::path stamp = out / ".complete";
    int made = 0, version = 0;
    if (std::ifstream(stamp) >> made >> version && made == songs && version == kLibraryVersion)
        return true;
    std::vector<MusicEntry> demoSongs;
    if (!ReadDemoList(demo, demoSongs, error)) return false;
    std::error_code ec;
    fs::remove_all(out, ec);
    fs::create_directories(out / "Data/Music", ec);
    for (const char* part : {"Config.cfg", "Data/Texture", "Data/SE", "Data/Sound"})
        fs::copy(demo / part, out / part, fs::copy_options::recursive, ec);
    if (ec) return Fail(error, "cannot copy the demo content: " + ec.message());
    std::map<std::wstring, platform::Image> jackets;
    std::string list, packs;
    for (int i = 0; i < songs; ++i) {
        const MusicEntry& source = demoSongs[size_t(i) % demoSongs.size()];
        const std::wstring title = source.title + L" " + FourDigits(i);
        platform::Image& jacket = jackets[source.title];
        const std::string jacketPath =
            (demo / "Data/Texture" / platform::WideToUtf8(source.title + L".png")).string();
        if (jacket.rgba.empty() && !platform::DecodePng(jacketPath, &jacket, error)) return false;
        const fs::path musicFrom = demo / "Data/Music" / platform::WideToUtf8(source.title);
        if (!LinkSong(musicFrom, source.title, out / "Data/Music" / platform::WideToUtf8(title),
                      title, error))
            return false;
        const fs::path jacketTo = out / "Data/Texture" / platform::WideToUtf8(title + L".png");
        if (!platform::WriteOpaquePng(jacketTo.string(), Stamped(jacket, i), error)) return false;
        const std::wstring line = title + L"[" + std::to_wstring(source.levels[0]) + L":" +
                                  std::to_wstring(source.levels[1]) + L":" +
                                  std::to_wstring(source.levels[2]) + L"]" + source.credit + L"\n";
        const auto encoded = platform::WideToCp932(line);
        if (!encoded) return Fail(error, "a title cannot be written in code page 932");
        list += *encoded;
        // Packs of a hundred songs, each pack added a day after the one before.
        packs += std::to_string(1700000000 + 86400 * (i / kSongsPerPack)) + "\tPack " +
                 std::to_string(i / kSongsPerPack) + "\t" + platform::WideToUtf8(title) + "\n";
    }
    std::ofstream(out / kMusicListPath, std::ios::binary) << list;
    std::ofstream(out / kPacksPath, std::ios::binary) << packs;
    std::ofstream(stamp) << songs << " " << kLibraryVersion << "\n";
    return true;
}

fs::path FindDemoContent() {
    if (const char* dir = std::getenv("LYRANDEL_BENCH_DEMO_CONTENT"))
        return fs::exists(fs::path(dir) / "Data") ? fs::path(dir) : fs::path();
    std::error_code ec;
    const fs::path self = fs::read_symlink("/proc/self/exe", ec);
    const fs::path dir = self.parent_path().parent_path() / "demo-content";
    return !ec && fs::exists(dir / "Data") ? dir : fs::path();
}
