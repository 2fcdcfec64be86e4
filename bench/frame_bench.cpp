// Cost of composing one display frame, and the work it does.
//
//   BM_PlainFrame   the whole-screen recipe: clear the frame, stretch the mask in, AND the desktop
//   BM_SquareFrame  the compositor's square path: clear the old square, write the new one
//   BM_SpanFrame    the compositor's span path: write only the pixels that change
//   BM_PresentUnion, BM_PresentPieces  the copy to the screen of the change's bounding rectangle
//                   or of its per-band pieces
//
// Arguments: screen width, height, size index (0..2: 200, 300, 400 px), speed index (0..2: 150,
// 100, 50 frames a sweep). Time is per frame, spot moving along its own path. Counters, averaged
// over two round trips before timing:
//   written  pixels the compositor writes per frame
//   changed  pixels whose value differs from the previous frame
//   union    pixels in the bounding rectangle of the change (one present)
//   pieces   pixels in the per-band rectangles around the change (a present per rectangle)
//   rects    rectangles per frame in `pieces`
//
// Run:  gloam_frame_bench --benchmark_filter='Span|Square'
// The square and span frames cost the same on every screen size.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <map>
#include <vector>

#include "display/display_state.h"
#include "display/frame_composer.h"
#include "display/spot_path.h"
#include "platform/random.h"
#include "platform/surface.h"

namespace gloam {
namespace {

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

// No pixel is black, so every pixel the disc leaves or reaches changes.
Surface Desktop(int32_t width, int32_t height) {
    Surface desktop(width, height);
    PixelView view = desktop.View();
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            view.At(x, y) = ((static_cast<uint32_t>(x * 7 + y) & 0xFF) << 16 |
                             (static_cast<uint32_t>(y * 3) & 0xFF) << 8 |
                             (static_cast<uint32_t>(x ^ y) & 0xFF)) |
                            0x010101;
        }
    }
    return desktop;
}

struct Scene {
    explicit Scene(const benchmark::State& run)
        : W(static_cast<double>(run.range(0))),
          H(static_cast<double>(run.range(1))),
          mask(SpotMask()),
          desktop(Desktop(static_cast<int32_t>(run.range(0)), static_cast<int32_t>(run.range(1)))),
          frame(static_cast<int32_t>(run.range(0)), static_cast<int32_t>(run.range(1))),
          random(1) {
        state.lngSpotSize = SpotSizeFor(static_cast<int32_t>(run.range(2)));
        state.lngStepsPerSweep = StepsPerSweepFor(static_cast<int32_t>(run.range(3)));
        ResetSpot(state, H);
    }

    Point Next() { return AdvanceSpot(state, W, H, random); }

    double W, H;
    Surface mask;
    Surface desktop;
    Surface frame;  // picWork, or the back buffer
    SeededRandom random;
    DisplayState state;
};

// Pixels of the union of two squares that differ between a frame with the spot at `before` and
// one with it at `after`, worked out from the stretched mask and the desktop alone.
int64_t ChangedPixels(const Surface& stretched, const Surface& desktop, Point before, Point after) {
    const int32_t size = stretched.Width();
    const Rect area = Intersect(Union(Rect{before.x, before.y, before.x + size, before.y + size},
                                      Rect{after.x, after.y, after.x + size, after.y + size}),
                                Rect{0, 0, desktop.Width(), desktop.Height()});
    const auto shown = [&](Point at, int32_t x, int32_t y) -> uint32_t {
        const int32_t u = x - at.x;
        const int32_t v = y - at.y;
        if (u < 0 || v < 0 || u >= size || v >= size) return kBlack;
        return stretched.At(u, v) & desktop.At(x, y);
    };
    int64_t changed = 0;
    for (int32_t y = area.top; y < area.bottom; ++y) {
        for (int32_t x = area.left; x < area.right; ++x) {
            changed += shown(before, x, y) != shown(after, x, y) ? 1 : 0;
        }
    }
    return changed;
}

int64_t Area(const Rect& r) {
    return static_cast<int64_t>(r.Width()) * r.Height();
}

struct Work {
    double written = 0, changed = 0, bounds = 0, pieces = 0, rects = 0;
};

// Untimed: what one frame writes and changes, on average over two round trips. Kept per case,
// as the library calls a benchmark more than once while it finds the iteration count.
Work MeasureWork(const benchmark::State& run, SpotCompositor::Method method) {
    static std::map<std::vector<int64_t>, Work> known;
    const std::vector<int64_t> key = {run.range(0), run.range(1), run.range(2), run.range(3),
                                      static_cast<int64_t>(method)};
    if (const auto found = known.find(key); found != known.end()) return found->second;

    Scene probe(run);
    SpotCompositor compositor(probe.mask.View(), probe.state.lngSpotSize, method);
    const int32_t frames = 4 * probe.state.lngStepsPerSweep;
    int64_t written = 0, changed = 0, bounds = 0, pieces = 0, rects = 0;
    Point last = probe.Next();
    compositor.Compose(probe.frame.View(), probe.desktop.View(), last);
    for (int32_t i = 0; i < frames; ++i) {
        const Point at = probe.Next();
        const FrameChange& change =
            compositor.Compose(probe.frame.View(), probe.desktop.View(), at);
        written += change.pixels_written;
        changed += ChangedPixels(compositor.StretchedMask(), probe.desktop, last, at);
        bounds += Area(change.bounds);
        for (const Rect& r : change) pieces += Area(r);
        rects += change.piece_count;
        last = at;
    }
    const auto per_frame = [frames](int64_t total) { return static_cast<double>(total) / frames; };
    const Work work{per_frame(written), per_frame(changed), per_frame(bounds), per_frame(pieces),
                    per_frame(rects)};
    known.emplace(key, work);
    return work;
}

void Measure(benchmark::State& run, SpotCompositor::Method method) {
    const Work work = MeasureWork(run, method);
    Scene scene(run);
    SpotCompositor compositor(scene.mask.View(), scene.state.lngSpotSize, method);
    const PixelView back = scene.frame.View();
    for (auto _ : run) {
        const FrameChange& change = compositor.Compose(back, scene.desktop.View(), scene.Next());
        benchmark::DoNotOptimize(change.pixels_written);
        benchmark::ClobberMemory();
    }
    run.counters["written"] = work.written;
    run.counters["changed"] = work.changed;
    run.counters["union"] = work.bounds;
    run.counters["pieces"] = work.pieces;
    run.counters["rects"] = work.rects;
}

void BM_PlainFrame(benchmark::State& run) {
    Scene scene(run);
    const PixelView frame = scene.frame.View();
    for (auto _ : run) {
        ComposeFrame(frame, scene.desktop.View(), scene.mask.View(), scene.Next(),
                     scene.state.lngSpotSize);
        benchmark::DoNotOptimize(frame.pixels);
        benchmark::ClobberMemory();
    }
}

void BM_SquareFrame(benchmark::State& run) {
    Measure(run, SpotCompositor::Method::Squares);
}

void BM_SpanFrame(benchmark::State& run) {
    Measure(run, SpotCompositor::Method::Auto);
}

// The native model of the present: copying the change from the back buffer to the screen, as
// one bounding rectangle or piece by piece. The frame itself is composed outside the timing.
void Present(benchmark::State& run, bool pieces) {
    Scene scene(run);
    Surface screen(scene.frame.Width(), scene.frame.Height());
    SpotCompositor compositor(scene.mask.View(), scene.state.lngSpotSize);
    const PixelView back = scene.frame.View();
    const PixelView shown = screen.View();
    const auto copy = [&](const Rect& r) {
        BitBlt(shown, r.left, r.top, r.Width(), r.Height(), back, r.left, r.top, Rop::Copy);
    };
    for (auto _ : run) {
        run.PauseTiming();
        const FrameChange& change = compositor.Compose(back, scene.desktop.View(), scene.Next());
        run.ResumeTiming();
        if (pieces) {
            for (const Rect& r : change) copy(r);
        } else {
            copy(change.bounds);
        }
        benchmark::DoNotOptimize(shown.pixels);
        benchmark::ClobberMemory();
    }
}

void BM_PresentUnion(benchmark::State& run) {
    Present(run, false);
}

void BM_PresentPieces(benchmark::State& run) {
    Present(run, true);
}

constexpr int64_t kScreens[][2] = {{1024, 768}, {1920, 1080}, {3840, 2160}};

void AllCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "size", "speed"})->Unit(benchmark::kMicrosecond);
    for (const auto& screen : kScreens) {
        for (int64_t size = 0; size < 3; ++size) {
            for (int64_t speed = 0; speed < 3; ++speed) {
                b->Args({screen[0], screen[1], size, speed});
            }
        }
    }
}

// The whole-screen recipe does not depend on the spot: one case per screen.
void PlainCases(benchmark::internal::Benchmark* b) {
    b->ArgNames({"w", "h", "size", "speed"})->Unit(benchmark::kMicrosecond);
    for (const auto& screen : kScreens) b->Args({screen[0], screen[1], 2, 1});
}

BENCHMARK(BM_PlainFrame)->Apply(PlainCases);
BENCHMARK(BM_SquareFrame)->Apply(AllCases);
BENCHMARK(BM_SpanFrame)->Apply(AllCases);
BENCHMARK(BM_PresentUnion)->Apply(PlainCases);
BENCHMARK(BM_PresentPieces)->Apply(PlainCases);

}  // namespace
}  // namespace gloam

BENCHMARK_MAIN();
