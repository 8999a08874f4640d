// Sprites a second through the sprite batch (queue, sort, vertex writing) on the null GPU.
#include <benchmark/benchmark.h>

#include "media/CommonStates.h"
#include "media/SpriteBatch.h"
#include "platform/NullGpu.h"

namespace {

// One pass of n sprites over a few textures, the way the game draws: back to front.
void SpritePass(benchmark::State& state, bool mixedDepths, bool turned) {
    platform::NullGpu gpu;
    gpu.keepVertices = false;
    gpu.CreateBackBuffer(1280, 720, nullptr);
    gpu.SetViewport({0, 0, 1280, 720});
    DirectX::CommonStates states(gpu);
    DirectX::SpriteBatch batch(gpu);
    auto texture =
        gpu.CreateTexture(256, 256, platform::PixelFormat::RGBA8, nullptr, false, nullptr);
    const int n = int(state.range(0));
    DirectX::SourceRect source{0, 0, 64, 64};
    for (auto _ : state) {
        batch.Begin(DirectX::SpriteSortMode_BackToFront, states.NonPremultiplied());
        for (int i = 0; i < n; ++i) {
            float depth = mixedDepths ? float((i * 7919) % 97) / 97.0f : 0.0f;
            batch.Draw(texture, {float(i % 1280), float(i % 720)}, &source, {1, 1, 1, 0.5f},
                       turned ? 0.3f : 0.0f, {32, 32}, 1.0f, DirectX::SpriteEffects_None, depth);
        }
        batch.End();
        gpu.draws.clear();
        gpu.maps.clear();
    }
    state.SetItemsProcessed(state.iterations() * n);
}

void BM_SpritesEqualDepth(benchmark::State& state) { SpritePass(state, false, false); }
void BM_SpritesMixedDepth(benchmark::State& state) { SpritePass(state, true, false); }
void BM_SpritesTurned(benchmark::State& state) { SpritePass(state, false, true); }

}  // namespace

BENCHMARK(BM_SpritesEqualDepth)->Arg(200)->Arg(10000);
BENCHMARK(BM_SpritesMixedDepth)->Arg(10000);
BENCHMARK(BM_SpritesTurned)->Arg(10000);
