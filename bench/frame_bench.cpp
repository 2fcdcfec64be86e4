// Cost of one display frame with the 400-pixel spot: the plain recipe (clear the whole frame,
// stretch the mask in, AND the whole desktop over it, then publish the whole frame) against the
// incremental compositor (touch the old and the new square, publish only their union).
//
// Run:  gloam_frame_bench --benchmark_filter=Frame
// The incremental frame should cost the same on every screen size.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "display/display_state.h"
#include "display/frame_composer.h"
#include "display/spot_path.h"
#include "platform/random.h"
#include "platform/surface.h"

namespace gloam {
namespace {

constexpr int32_t kSizeIndex = 2;   // 400 pixels
constexpr int32_t kSpeedIndex = 1;  // 100 frames a sweep

Surface SpotMask() {
    Surface mask(300, 300, kBlack);
    PixelView view = mask.View();
    for (int32_t y = 6; y < 294; ++y) {
        for (int32_t x = 6; x < 293; ++x) {
            const double u = (x + 0.5 - 149.5) / 143.5;
            const double v = (y + 0.5 - 150.0) / 144.0;
            if (u * u + v * v <= 1.0) view.At(x, y) = kWhite;
        }
    }
    return mask;
}

Surface Desktop(int32_t width, int32_t height) {
    Surface desktop(width, height);
    PixelView view = desktop.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            view.At(x, y) = (static_cast<uint32_t>(x * 7 + y) & 0xFF) << 16 |
                            (static_cast<uint32_t>(y * 3) & 0xFF) << 8 |
                            (static_cast<uint32_t>(x ^ y) & 0xFF);
        }
    }
    return desktop;
}

struct Scene {
    Scene(int32_t width, int32_t height)
        : W(width),
          H(height),
          mask(SpotMask()),
          desktop(Desktop(width, height)),
          frame(width, height),
          screen(width, height),
          random(1) {
        state.lngStepsPerSweep = StepsPerSweepFor(kSpeedIndex);
        state.lngSpotSize = SpotSizeFor(kSizeIndex);
        ResetSpot(state, H);
    }

    double W, H;
    Surface mask;
    Surface desktop;
    Surface frame;   // picWork, or the back buffer
    Surface screen;  // what the window shows
    SeededRandom random;
    DisplayState state;
};

void SetCounters(benchmark::State& run, const Scene& scene) {
    run.counters["fps"] =
        benchmark::Counter(static_cast<double>(run.iterations()), benchmark::Counter::kIsRate);
    run.SetLabel(std::to_string(static_cast<int>(scene.W)) + "x" +
                 std::to_string(static_cast<int>(scene.H)));
}

void BM_LiteralFrame(benchmark::State& run) {
    Scene scene(static_cast<int32_t>(run.range(0)), static_cast<int32_t>(run.range(1)));
    const PixelView frame = scene.frame.View();
    const PixelView screen = scene.screen.View();
    for (auto _ : run) {
        const Point at = AdvanceSpot(scene.state, scene.W, scene.H, scene.random);
        ComposeFrame(frame, scene.desktop.View(), scene.mask.View(), at, scene.state.lngSpotSize);
        // The snapshot and the repaint publish the whole frame.
        BitBlt(screen, 0, 0, frame.width, frame.height, frame, 0, 0, Rop::Copy);
        benchmark::DoNotOptimize(screen.pixels);
        benchmark::ClobberMemory();
    }
    SetCounters(run, scene);
}

void BM_IncrementalFrame(benchmark::State& run) {
    Scene scene(static_cast<int32_t>(run.range(0)), static_cast<int32_t>(run.range(1)));
    SpotCompositor compositor(scene.mask.View(), scene.state.lngSpotSize);
    const PixelView back = scene.frame.View();
    const PixelView screen = scene.screen.View();
    for (auto _ : run) {
        const Point at = AdvanceSpot(scene.state, scene.W, scene.H, scene.random);
        const Rect dirty = compositor.Compose(back, scene.desktop.View(), at);
        // One transfer of the changed part from the back buffer to the window.
        BitBlt(screen, dirty.left, dirty.top, dirty.Width(), dirty.Height(), back, dirty.left,
               dirty.top, Rop::Copy);
        benchmark::DoNotOptimize(screen.pixels);
        benchmark::ClobberMemory();
    }
    SetCounters(run, scene);
}

void Screens(benchmark::internal::Benchmark* b) {
    b->Args({1024, 768})->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMicrosecond);
}

BENCHMARK(BM_LiteralFrame)->Apply(Screens);
BENCHMARK(BM_IncrementalFrame)->Apply(Screens);

}  // namespace
}  // namespace gloam

BENCHMARK_MAIN();
