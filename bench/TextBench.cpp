// Cost of the text pass: a frame of 20 unchanged strings, and one string changing every frame
// (layout, rasterising and upload), with the GPU replaced by the null back end.
#include <benchmark/benchmark.h>

#include <string>

#include "platform/NullGpu.h"
#include "services/GraphicsDevice.h"
#include "services/TextRenderer.h"

namespace {

// A device with a null GPU and an initialised text renderer, for the benchmark's lifetime.
struct TextSetup {
    TextRenderer text;
    platform::NullGpu* gpu;
    TextSetup() {
        auto owned = std::make_unique<platform::NullGpu>();
        owned->keepVertices = false;
        gpu = owned.get();
        GraphicsDevice::Get().gpu = std::move(owned);
        GraphicsDevice::Get().CreateDeviceResources();
        text.Initialize(L"メイリオ", L"", 14.0f);
        text.layoutRect = {340, 100, 940, 700};
    }
    ~TextSetup() {
        text.ReleaseDeviceResources();
        GraphicsDevice::Get().gpu.reset();
    }
};

void BM_TextFrameOfTwentyUnchangedStrings(benchmark::State& state) {
    TextSetup setup;
    std::wstring lines[20];
    for (int i = 0; i < 20; ++i)
        lines[i] = L"楽曲 " + std::to_wstring(i) + L": The quick brown fox";
    for (auto _ : state) {
        setup.text.BeginPass();
        for (const auto& line : lines) setup.text.DrawString(line);
        setup.text.EndPass();
        setup.gpu->draws.clear();
        setup.gpu->maps.clear();
    }
    state.counters["layouts"] = double(setup.text.LayoutsMade());
}

void BM_TextFrameOfOneChangingString(benchmark::State& state) {
    TextSetup setup;
    int frame = 0;
    for (auto _ : state) {
        setup.text.BeginPass();
        setup.text.DrawString(L"Score " + std::to_wstring(1000000 + frame++) + L"  Combo 123");
        setup.text.EndPass();
        setup.gpu->draws.clear();
        setup.gpu->maps.clear();
    }
}

}  // namespace

BENCHMARK(BM_TextFrameOfTwentyUnchangedStrings);
BENCHMARK(BM_TextFrameOfOneChangingString);
