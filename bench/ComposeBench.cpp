// SPDX-License-Identifier: GPL-3.0-or-later
// One editor frame: the 300 x 570 opaque background copied onto the draw
// surface, then six 83 x 81 knob frames composed over it with source alpha.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "raster/PIX_Compose.h"
#include "raster/PIX_MemBitmap.h"
#include "raster/PIX_SysBitmap.h"

namespace {

// A knob-like strip frame: opaque disc, soft edge, transparent corners.
void PaintKnob(PIX_MemBitmap& b)
{
    const int32_t cx = b.Width() / 2, cy = b.Height() / 2;
    for (int32_t y = 0; y < b.Height(); ++y)
        for (int32_t x = 0; x < b.Width(); ++x) {
            const int32_t d2 = (x - cx) * (x - cx) + (y - cy) * (y - cy);
            const uint32_t alpha = d2 < 36 * 36 ? 255u : d2 < 40 * 40 ? 128u : 0u;
            b.Pixels()[y * b.RowStride() + x] = (alpha << 24) | uint32_t(x * 3) << 16 | uint32_t(y * 3) << 8 | 0x40u;
        }
}

void EditorFrame(benchmark::State& state)
{
    PIX_SysBitmap surface;
    surface.Resize(300, 570);
    PIX_MemBitmap background;
    background.Resize(300, 570);
    for (int32_t i = 0; i < 570 * background.RowStride(); ++i) background.Pixels()[i] = 0xFF000000u | uint32_t(i * 2654435761u >> 8);
    PIX_MemBitmap knob;
    knob.Resize(83, 81);
    PaintKnob(knob);
    const int32_t positions[6][2] = {{20, 60}, {110, 60}, {200, 60}, {20, 200}, {110, 200}, {200, 200}};

    for (auto _ : state) {
        PIX_Compose(&surface, &background, 0, 0, nullptr, 1.0f, kComposeCopy);
        for (const auto& p : positions)
            PIX_Compose(&surface, &knob, p[0], p[1], nullptr, 1.0f, kComposeSourceAlpha | kComposeCopy);
        benchmark::DoNotOptimize(surface.Pixels()[0]);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(EditorFrame);

// A greyed-out control: the same frames at weight 0.25.
void GreyedKnobs(benchmark::State& state)
{
    PIX_SysBitmap surface;
    surface.Resize(300, 570);
    PIX_MemBitmap knob;
    knob.Resize(83, 81);
    PaintKnob(knob);
    for (auto _ : state) {
        for (int i = 0; i < 6; ++i)
            PIX_Compose(&surface, &knob, 20 + (i % 3) * 90, 60 + (i / 3) * 140, nullptr, 0.25f,
                        kComposeSourceAlpha | kComposeCopy);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(GreyedKnobs);

}  // namespace

BENCHMARK_MAIN();
