// Composing a frame: black everywhere but inside the spot's disc, where the desktop copy shows.
//
// ComposeFrame is the plain recipe (clear the whole frame, stretch the mask in, AND the whole
// desktop over it). SpotCompositor makes the same frame, pixel for pixel, in a back buffer that
// holds the previous one, writing only what changes:
//
// - Spans: when every row of the stretched mask is black with at most one white run (a disc is),
//   a row of the frame is lit exactly on the run. Between two frames a row then changes only
//   where exactly one of the old and the new run lies: black where the old disc leaves, desktop
//   where the new one arrives, nothing where both are lit (those pixels already hold the desktop).
//   The first frame, and the frame after Invalidate(), write the whole new disc.
// - Squares: any other mask. The old square is cleared and the new one stretched in and ANDed
//   with the desktop, every frame.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "display/display_state.h"
#include "platform/surface.h"

namespace gloam {

// `work` and `desktop` are screen-sized; `spot_mask` is the white-disc-on-black mask.
void ComposeFrame(PixelView work, PixelView desktop, PixelView spot_mask, Point at,
                  int32_t spot_size);

// A white run of one mask row, [left, right) in mask columns; empty when the row is all black.
struct Span {
    int32_t left = 0;
    int32_t right = 0;
    bool Empty() const { return right <= left; }
    friend bool operator==(const Span&, const Span&) = default;
};

// The white run of each row, top to bottom; nothing when a row has more than one run or a pixel
// other than pure white and pure black.
std::optional<std::vector<Span>> RowSpans(PixelView mask);

// What one frame changed in the back buffer.
struct FrameChange {
    // Rows of the changed area are cut into this many bands; each band contributes at most two
    // rectangles, one around each side of the spot.
    static constexpr int32_t kBands = 4;

    Rect bounds;                            // holds every changed pixel; empty when none changed
    std::array<Rect, 2 * kBands> pieces{};  // disjoint, together holding every changed pixel
    int32_t piece_count = 0;
    int64_t pixels_written = 0;

    const Rect* begin() const { return pieces.data(); }
    const Rect* end() const { return pieces.data() + piece_count; }
};

class SpotCompositor {
  public:
    enum class Method { Auto, Squares };

    // Stretches the mask to `spot_size` once and finds its row spans. Auto takes the span path
    // whenever the stretched mask allows it; Squares forces the whole-square path.
    SpotCompositor(PixelView spot_mask, int32_t spot_size, Method method = Method::Auto);

    // `back` must hold the previous frame made by this compositor (all black before the first),
    // and `desktop` the same copy as then unless Invalidate() was called since.
    const FrameChange& Compose(PixelView back, PixelView desktop, Point at);

    // The desktop copy changed (the cats were stamped): the next frame rewrites the whole disc.
    void Invalidate() { rewrite_ = true; }

    bool UsesSpans() const { return !spans_.empty(); }
    const Surface& StretchedMask() const { return stretched_; }

  private:
    void ComposeSquares(PixelView back, PixelView desktop, Point at);
    void ComposeSpans(PixelView back, PixelView desktop, Point at);

    Surface stretched_;
    std::vector<Span> spans_;
    FrameChange change_;
    Point last_at_{};
    bool has_last_ = false;
    bool rewrite_ = true;
};

}  // namespace gloam
