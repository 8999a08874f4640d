// Jackets checked by their header when the selection opens and decoded when first drawn: the
// header checks, a broken header that still stops the selection with the jacket's name, a
// jacket that fails to decode later, and a cache that stays bounded over a long list.
#include <zlib.h>

#include <string>

#include "../settings/SceneHarness.h"
#include "platform/PngHeader.h"
#include "selection/SelectMusic.h"
#include "services/TextureStore.h"

namespace {

using scenetest::kTinyPng;

// The signature and an image header chunk with its checksum, for the given fields.
std::string HeaderBytes(uint32_t width, uint32_t height, uint8_t depth, uint8_t colour) {
    std::string b(reinterpret_cast<const char*>(kTinyPng), 8);
    auto put = [&b](uint32_t v) {
        for (int s = 24; s >= 0; s -= 8) b += char((v >> s) & 0xFF);
    };
    put(13);
    b += "IHDR";
    put(width);
    put(height);
    b += char(depth);
    b += char(colour);
    b += std::string(3, '\0');
    put(uint32_t(crc32(0, reinterpret_cast<const Bytef*>(b.data() + 12), 17)));
    return b;
}

// Parses bytes as a file start; the reason when refused, "" when accepted.
std::string Refusal(const std::string& bytes) {
    platform::PngHeader header;
    std::string error;
    if (platform::ParsePngHeader(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(),
                                 &header, &error))
        return "";
    return error;
}

TEST(PngHeader, AcceptsValidHeadersAndNamesWhatIsWrongWithOthers) {
    const std::string tiny(reinterpret_cast<const char*>(kTinyPng), sizeof kTinyPng);
    platform::PngHeader header;
    std::string error;
    ASSERT_TRUE(platform::ParsePngHeader(kTinyPng, sizeof kTinyPng, &header, &error)) << error;
    EXPECT_EQ(header.width, 1u);
    EXPECT_EQ(header.colourType, 6);
    EXPECT_EQ(Refusal(HeaderBytes(256, 256, 8, 2)), "");
    EXPECT_EQ(Refusal(HeaderBytes(3, 5, 4, 3)), "");

    std::string damaged = tiny;
    damaged[20] ^= 1;  // a bit of the height: the checksum no longer matches
    std::string renamed = HeaderBytes(1, 1, 8, 6);
    renamed[15] = 'X';
    const std::pair<std::string, const char*> cases[] = {
        {"GIF89a" + tiny.substr(6), "not a PNG file"},
        {tiny.substr(0, 20), "cut short"},
        {damaged, "damaged"},
        {renamed, "does not begin with its image header"},
        {HeaderBytes(0, 4, 8, 6), "impossible size"},
        {HeaderBytes(4, 0x80000000u, 8, 6), "impossible size"},
        {HeaderBytes(4, 4, 3, 2), "invalid"},
        {HeaderBytes(4, 4, 16, 3), "invalid"},
        {HeaderBytes(4, 4, 8, 5), "invalid"},
    };
    for (const auto& [bytes, reason] : cases)
        EXPECT_NE(Refusal(bytes).find(reason), std::string::npos)
            << reason << ": " << Refusal(bytes);
}

struct LazyJackets : scenetest::SceneHarness {
    // Writes a list of n songs "S0".."Sn-1", each with a jacket; the store starts empty.
    void WriteSongs(int n) {
        TextureStore::Get().Clear();
        std::string list;
        for (int i = 0; i < n; ++i) {
            list += "S" + std::to_string(i) + "[1:1:1]c\n";
            WriteTexture("S" + std::to_string(i) + ".png");
        }
        WriteFile("Data/Music/0.nld", list);
        WriteTexture("SelectMusic.png");
    }
    // Names of the jackets drawn in the last Draw: previous, highlighted, next, when drawn.
    std::vector<std::wstring> Jackets() {
        std::vector<std::wstring> names;
        for (const SpriteCall& s : sprites)
            if (s.name != L"waku") names.push_back(s.name);
        return names;
    }
};

TEST_F(LazyJackets, BrokenHeaderStillStopsTheSelectionWithTheJacketsName) {
    WriteSongs(3);
    WriteFile("Data/Texture/S1.png", std::string(reinterpret_cast<const char*>(kTinyPng), 20));
    SelectMusic scene;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(scene.Initialize());
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("Data/Music/0.nld:2: jacket \"Data/Texture/S1.png\" cannot be loaded: "
                       "the PNG image header is cut short"),
              std::string::npos)
        << err;

    WriteFile("Data/Texture/S1.png", HeaderBytes(5000, 256, 8, 6));
    SelectMusic oversized;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(oversized.Initialize());
    EXPECT_NE(testing::internal::GetCapturedStderr().find("at most 4096"), std::string::npos);
}

TEST_F(LazyJackets, JacketThatFailsToDecodeIsDrawnAsNothingAndReportedOnce) {
    WriteSongs(3);
    WriteFile("Data/Texture/S1.png", HeaderBytes(256, 256, 8, 6) + "no image data");
    SelectMusic scene;
    ASSERT_TRUE(scene.Initialize());
    testing::internal::CaptureStderr();
    Draw(scene);
    EXPECT_EQ(Jackets(), (std::vector<std::wstring>{L"S0", L"S2"}));
    Step(scene, {'D'});  // S1 highlighted, between S0 and S2
    Draw(scene);
    EXPECT_EQ(Jackets(), (std::vector<std::wstring>{L"S0", L"S2"}));
    EXPECT_EQ(sprites.size(), 3u);  // the frame is still drawn
    const std::string err = testing::internal::GetCapturedStderr();
    const size_t at = err.find("lyrandel: jacket of \"S1\" not shown: ");
    EXPECT_NE(at, std::string::npos) << err;
    EXPECT_EQ(err.find("not shown", at + 30), std::string::npos) << "reported once: " << err;
}

TEST_F(LazyJackets, CacheStaysBoundedWhileSteppingThroughManySongs) {
    constexpr int kSongs = 40;
    WriteSongs(kSongs);
    SelectMusic scene;
    ASSERT_TRUE(scene.Initialize());
    EXPECT_EQ(TextureStore::Get().size(), 1u) << "opening decodes no jacket";
    JacketCache& cache = TextureStore::Get().jackets();
    auto name = [](int i) { return L"S" + std::to_wstring((i % kSongs + kSongs) % kSongs); };
    int index = 0;
    for (int frame = 0; frame < 2 * kSongs + 20; ++frame) {
        const uint32_t key = frame < 2 * kSongs ? 'D' : 'A';
        if (frame % 2 == 0) {
            Step(scene, {key});
            index += key == 'D' ? 1 : -1;
        } else {
            Step(scene);
        }
        Draw(scene);
        // By the frame after a step, the next jacket along is ready before it comes into view.
        if (frame % 2 == 1) {
            EXPECT_FALSE(cache.NeedsDecoding(name(index + (key == 'D' ? 2 : -2))));
        }
        ASSERT_EQ(Jackets(),
                  (std::vector<std::wstring>{name(index), name(index - 1), name(index + 1)}))
            << "frame " << frame;
        EXPECT_LE(cache.size(), JacketCache::kCapacity);
        EXPECT_LE(TextureStore::Get().size(), JacketCache::kCapacity + 1);
    }
}

}  // namespace

namespace {

// A header read ahead, as the title's warm-up hands it over.
JacketCache::ReadAheads ReadAhead(const std::wstring& title, const std::string& path,
                                  uint32_t side) {
    JacketCache::ReadAheads ahead;
    ahead[title].path = path;
    ahead[title].header.width = ahead[title].header.height = side;
    return ahead;
}

TEST_F(LazyJackets, HeadersReadAheadAreTakenOnlyAtThePathTheCheckWouldRead) {
    TextureStore store;
    JacketCache& cache = store.jackets();
    const std::string here = std::filesystem::current_path().string();
    // Read ahead at the path the check opens: no file needed, the size rule still applies.
    cache.StartWarmUp([] { return ReadAhead(L"Gone", "Data/Texture/Gone.png", 256); }, here);
    std::string error;
    EXPECT_TRUE(cache.Check(L"Gone", &error)) << error;
    cache.Clear();
    cache.StartWarmUp([] { return ReadAhead(L"Huge", "Data/Texture/Huge.png", 5000); }, here);
    EXPECT_FALSE(cache.Check(L"Huge", &error));
    EXPECT_NE(error.find("at most 4096"), std::string::npos) << error;
    // Read at another path, or in another working directory: the check reads the file itself.
    cache.Clear();
    cache.StartWarmUp([] { return ReadAhead(L"Gone", "elsewhere/Gone.png", 256); }, here);
    EXPECT_FALSE(cache.Check(L"Gone", &error));
    cache.Clear();
    cache.StartWarmUp([] { return ReadAhead(L"Gone", "Data/Texture/Gone.png", 256); },
                      here + "/other");
    EXPECT_FALSE(cache.Check(L"Gone", &error));
    EXPECT_NE(error.find("cannot be opened"), std::string::npos) << error;
}

}  // namespace
