// The WAV reader on files built in memory: chunk walks, result codes, loops, seek tables,
// the whole-file read from disk, and the wave-format check.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "WavBuilder.h"
#include "media/WAVFileReader.h"

using namespace DirectX;
using namespace wavtest;

namespace {

// Parses bytes and returns the code; info receives the result.
HRESULT Parse(const Bytes& file, WaveFileInfo& info) {
    return ParseWavData(file.data(), file.size(), info);
}

HRESULT Parse(const Bytes& file) {
    WaveFileInfo info;
    return Parse(file, info);
}

std::vector<int16_t> Ramp(size_t n) {
    std::vector<int16_t> s(n);
    for (size_t i = 0; i < n; ++i) s[i] = int16_t(i);
    return s;
}

}  // namespace

TEST(WAVFileReader, PlainStereoPcmPointsIntoTheFile) {
    Bytes file = PcmFile(2, Ramp(8));
    WaveFileInfo info;
    ASSERT_EQ(Parse(file, info), kOk);
    EXPECT_EQ(info.format, file.data() + 20);
    EXPECT_EQ(info.formatBytes, 16u);
    EXPECT_EQ(info.sampleStart, file.data() + 44);
    EXPECT_EQ(info.sampleBytes, 16u);
    EXPECT_EQ(info.loopStart, 0u);
    EXPECT_EQ(info.loopLength, 0u);
    EXPECT_EQ(info.seekTable, nullptr);
    EXPECT_TRUE(IsValidWaveFormat(info.format, info.formatBytes));
}

TEST(WAVFileReader, SizeLimitsComeBeforeAnyParsing) {
    Bytes file = PcmFile(1, Ramp(4));
    WaveFileInfo info;
    EXPECT_EQ(ParseWavData(file.data(), 33, info), kFail);
    Bytes noData = Riff({Chunk("fmt ", Fmt(1, 1, 44100, 16))});
    ASSERT_EQ(noData.size(), 36u);
    EXPECT_EQ(Parse(noData), kInvalidData);
}

TEST(WAVFileReader, OddSizedChunksAreNotPadded) {
    Bytes file = PcmFile(1, Ramp(4), {Chunk("junk", {1, 2, 3})});
    WaveFileInfo info;
    ASSERT_EQ(Parse(file, info), kOk);
    EXPECT_EQ(info.sampleBytes, 8u);
    EXPECT_EQ(info.sampleStart, file.data() + file.size() - 8);
    // A reader that rounded 3 up to 4 would land inside "data" and miss it.
}

TEST(WAVFileReader, RiffAndFormatFaults) {
    Bytes good = PcmFile(1, Ramp(16));
    Bytes notRiff = good;
    notRiff[0] = 'X';
    EXPECT_EQ(Parse(notRiff), kFail);
    Bytes otherForm = good;
    std::copy_n("AVI ", 4, otherForm.begin() + 8);
    EXPECT_EQ(Parse(otherForm), kFail);
    Bytes tinyRiff = good;
    tinyRiff[4] = 3, tinyRiff[5] = tinyRiff[6] = tinyRiff[7] = 0;
    EXPECT_EQ(Parse(tinyRiff), kFail);
    EXPECT_EQ(Parse(Riff({Chunk("fmt ", Bytes(14, 0)), Chunk("data", Bytes(20, 1))})), kFail);
    EXPECT_EQ(Parse(Riff({Chunk("data", Bytes(40, 1))})), kFail);
    // The RIFF size bounds the walk: a "data" chunk beyond it is not seen.
    Bytes shortRiff = good;
    shortRiff[4] = 4 + 24;
    shortRiff[5] = shortRiff[6] = shortRiff[7] = 0;
    EXPECT_EQ(Parse(shortRiff), kInvalidData);
}

TEST(WAVFileReader, DataFaults) {
    EXPECT_EQ(Parse(Riff({Chunk("fmt ", Fmt(1, 1, 44100, 16)), Chunk("data", Bytes{})})),
              kInvalidData);
    Bytes file = Riff({Chunk("fmt ", Fmt(1, 1, 44100, 16)), Chunk("data", Bytes(8, 1), 9)});
    EXPECT_EQ(Parse(file), kHandleEof);
    // The format chunk itself running past the end.
    Bytes fmtPast = Riff({Chunk("data", Bytes(8, 1)), Chunk("fmt ", Fmt(1, 1, 44100, 16), 40)});
    EXPECT_EQ(Parse(fmtPast), kHandleEof);
}

TEST(WAVFileReader, FormatTagsAndTheirDemands) {
    Bytes data = Chunk("data", Bytes(64, 0));
    auto withFmt = [&](const Bytes& fmt) { return Parse(Riff({Chunk("fmt ", fmt), data})); };
    EXPECT_EQ(withFmt(Fmt(3, 2, 48000, 32)), kOk);
    EXPECT_EQ(withFmt(FmtExtensible(1, 2, 44100, 16, 16, 3)), kOk);
    EXPECT_EQ(withFmt(FmtExtensible(3, 2, 44100, 32, 32, 0)), kOk);
    EXPECT_EQ(withFmt(FmtExtensible(2, 2, 44100, 4, 0, 3)), kNotSupported);
    EXPECT_EQ(withFmt(FmtExtensible(1, 2, 44100, 16, 16, 3, false)), kNotSupported);
    Bytes shortExtensible = FmtExtensible(1, 2, 44100, 16, 16, 3);
    shortExtensible[16] = 20;
    EXPECT_EQ(withFmt(shortExtensible), kFail);
    EXPECT_EQ(withFmt(FmtAdpcm(1, 22050, 512)), kOk);
    EXPECT_EQ(withFmt(Fmt(2, 1, 22050, 4, true)), kFail);
    EXPECT_EQ(withFmt(Fmt(0x55, 2, 44100, 16, true)), kNotSupported);
    EXPECT_EQ(withFmt(Fmt(0x55, 2, 44100, 16)), kFail);  // no extra-size field
    Bytes extraTooLong = Fmt(0x161, 2, 44100, 16, true);
    extraTooLong[16] = 4;
    EXPECT_EQ(withFmt(extraTooLong), kFail);
}

TEST(WAVFileReader, SmplForwardLoop) {
    Bytes file = PcmFile(1, Ramp(3000), {Chunk("smpl", Smpl({{1, 5, 9}, {0, 1000, 1999}}))});
    WaveFileInfo info;
    ASSERT_EQ(Parse(file, info), kOk);
    EXPECT_EQ(info.loopStart, 1000u);
    EXPECT_EQ(info.loopLength, 1000u);
}

TEST(WAVFileReader, WsmpWithoutForwardLoopFallsBackToSmpl) {
    Bytes file =
        PcmFile(1, Ramp(3000),
                {Chunk("wsmp", Wsmp({{2, 10, 20}})), Chunk("smpl", Smpl({{0, 1000, 1999}}))});
    WaveFileInfo info;
    ASSERT_EQ(Parse(file, info), kOk);
    EXPECT_EQ(info.loopStart, 1000u);
    EXPECT_EQ(info.loopLength, 1000u);
    Bytes release = PcmFile(
        1, Ramp(3000),
        {Chunk("wsmp", Wsmp({{2, 10, 20}, {1, 30, 40}})), Chunk("smpl", Smpl({{0, 1000, 1999}}))});
    ASSERT_EQ(Parse(release, info), kOk);
    EXPECT_EQ(info.loopStart, 30u);
    EXPECT_EQ(info.loopLength, 40u);
}

TEST(WAVFileReader, LoopChunksThatAreTooShortNameNoLoop) {
    Bytes shortSmpl = Smpl({{0, 1000, 1999}});
    shortSmpl.resize(shortSmpl.size() - 1);
    WaveFileInfo info;
    ASSERT_EQ(Parse(PcmFile(1, Ramp(100), {Chunk("smpl", shortSmpl)}), info), kOk);
    EXPECT_EQ(info.loopLength, 0u);
    Bytes shortWsmp = Wsmp({{0, 1, 2}});
    shortWsmp.resize(shortWsmp.size() - 1);
    ASSERT_EQ(Parse(PcmFile(1, Ramp(100), {Chunk("wsmp", shortWsmp)}), info), kOk);
    EXPECT_EQ(info.loopLength, 0u);
    // A loop chunk after "data" that runs past the end of the file.
    Bytes file = PcmFile(1, Ramp(10));
    Bytes smpl = Chunk("smpl", Smpl({{0, 1, 2}}), 500);
    file.insert(file.end(), smpl.begin(), smpl.end());
    file[4] = uint8_t(file.size() - 8);
    file[5] = uint8_t((file.size() - 8) >> 8);
    EXPECT_EQ(Parse(file), kHandleEof);
}

TEST(WAVFileReader, XwmaSeekTable) {
    Bytes fmt = Fmt(0x161, 2, 44100, 16, true);
    auto xwma = [&](size_t dpdsBytes) {
        return Riff(
            {Chunk("fmt ", fmt), Chunk("dpds", Bytes(dpdsBytes, 7)), Chunk("data", Bytes(32, 1))},
            "XWMA");
    };
    EXPECT_EQ(Parse(xwma(10)), kFail);
    Bytes file = xwma(12);
    WaveFileInfo info;
    ASSERT_EQ(Parse(file, info), kOk);
    EXPECT_EQ(info.seekCount, 3u);
    EXPECT_EQ(info.seekTable, file.data() + 20 + 18 + 8);
    // Reading succeeds, yet the format is not one that can be played.
    EXPECT_FALSE(IsValidWaveFormat(info.format, info.formatBytes));
    // No seek chunk at all is no error.
    EXPECT_EQ(Parse(Riff({Chunk("fmt ", fmt), Chunk("data", Bytes(32, 1))}, "XWMA")), kOk);
}

TEST(WAVFileReader, ReadsFilesByUtf8PathAndMapsErrno) {
    auto dir = std::filesystem::temp_directory_path() / ("wavreader-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    Bytes file = PcmFile(2, Ramp(100));
    std::ofstream(dir / "タンバリンの音.wav", std::ios::binary)
        .write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    std::ofstream(dir / "tiny.wav", std::ios::binary).write("RIFF", 4);

    std::unique_ptr<uint8_t[]> data;
    size_t bytes = 0;
    WaveFileInfo info;
    std::wstring base = dir.wstring() + L"/";
    EXPECT_EQ(ReadWavFile(base + L"タンバリンの音.wav", data, bytes, info), kOk);
    EXPECT_EQ(bytes, file.size());
    EXPECT_EQ(info.sampleBytes, 200u);
    EXPECT_EQ(ReadWavFile(base + L"missing.wav", data, bytes, info), 0x80070002u);
    EXPECT_EQ(ReadWavFile(base + L"tiny.wav", data, bytes, info), kFail);
    EXPECT_EQ(ReadWavFile(L"", data, bytes, info), kInvalidArg);
    std::filesystem::remove_all(dir);
}

TEST(WaveFormatCheck, PcmAndFloat) {
    auto ok = [](const Bytes& f) { return IsValidWaveFormat(f.data(), uint32_t(f.size())); };
    for (uint16_t bits : {8, 16, 24, 32}) EXPECT_TRUE(ok(Fmt(1, 2, 44100, bits))) << bits;
    EXPECT_FALSE(ok(Fmt(1, 2, 44100, 12)));
    EXPECT_FALSE(ok(Fmt(1, 0, 44100, 16)));
    EXPECT_TRUE(ok(Fmt(1, 64, 44100, 16)));
    EXPECT_FALSE(ok(Fmt(1, 65, 44100, 16)));
    EXPECT_TRUE(ok(Fmt(1, 1, 1000, 16)));
    EXPECT_FALSE(ok(Fmt(1, 1, 999, 16)));
    EXPECT_TRUE(ok(Fmt(1, 1, 200000, 16)));
    EXPECT_FALSE(ok(Fmt(1, 1, 200001, 16)));
    Bytes badAlign = Fmt(1, 2, 44100, 16);
    badAlign[12] = 2;
    EXPECT_FALSE(ok(badAlign));
    Bytes badRate = Fmt(1, 2, 44100, 16);
    badRate[8] ^= 1;
    EXPECT_FALSE(ok(badRate));
    EXPECT_TRUE(ok(Fmt(3, 2, 48000, 32)));
    EXPECT_FALSE(ok(Fmt(3, 2, 48000, 64)));
    EXPECT_FALSE(ok(Fmt(0x161, 2, 44100, 16, true)));
    EXPECT_FALSE(IsValidWaveFormat(nullptr, 0));
}

TEST(WaveFormatCheck, MsAdpcm) {
    auto ok = [](const Bytes& f) { return IsValidWaveFormat(f.data(), uint32_t(f.size())); };
    EXPECT_TRUE(ok(FmtAdpcm(1, 22050, 512)));
    EXPECT_TRUE(ok(FmtAdpcm(2, 44100, 1024)));
    EXPECT_TRUE(ok(FmtAdpcm(1, 22050, 32003)));
    EXPECT_FALSE(ok(FmtAdpcm(1, 22050, 32007)));  // more than 64000 samples per block
    Bytes wrongCoefficient = FmtAdpcm(1, 22050, 512);
    wrongCoefficient[22] ^= 1;
    EXPECT_FALSE(ok(wrongCoefficient));
    Bytes perBlockMismatch = FmtAdpcm(2, 44100, 1024);
    perBlockMismatch[18] += 2;
    EXPECT_FALSE(ok(perBlockMismatch));
    Bytes threeChannels = FmtAdpcm(2, 44100, 1024);
    threeChannels[2] = 3;
    EXPECT_FALSE(ok(threeChannels));
}

TEST(WaveFormatCheck, Extensible) {
    auto ok = [](const Bytes& f) { return IsValidWaveFormat(f.data(), uint32_t(f.size())); };
    EXPECT_TRUE(ok(FmtExtensible(1, 2, 44100, 24, 20, 3)));
    EXPECT_TRUE(ok(FmtExtensible(1, 2, 44100, 16, 0, 0)));
    EXPECT_FALSE(ok(FmtExtensible(1, 2, 44100, 16, 12, 3)));
    EXPECT_FALSE(ok(FmtExtensible(1, 2, 44100, 16, 24, 3)));
    EXPECT_FALSE(ok(FmtExtensible(1, 2, 44100, 16, 16, 7)));
    EXPECT_TRUE(ok(FmtExtensible(3, 2, 44100, 32, 0, 3)));
    EXPECT_FALSE(ok(FmtExtensible(3, 2, 44100, 32, 24, 3)));
    EXPECT_FALSE(ok(FmtExtensible(2, 2, 44100, 4, 0, 3)));
    EXPECT_FALSE(ok(FmtExtensible(1, 2, 44100, 16, 16, 3, false)));
    EXPECT_FALSE(ok(FmtExtensible(0x10001, 2, 44100, 16, 16, 3)));
}
