// Drawing a picture scaled into a rectangle of a surface, the way the system draws a wallpaper.
// Each axis is scaled on its own. Where a side shrinks, a destination pixel is the average of the
// source area it covers; where it grows, the linear blend of the two source pixels nearest to its
// centre (the edge pixels continue beyond the picture); where it keeps its length, a copy. No
// nearest-neighbour blocks on a photo.
//
// The weights are fixed-point numbers (14 bits) that add up to exactly one, and the arithmetic is
// integer throughout: a flat area keeps its exact colour, and every build on every machine gets
// the same pixels. Pixels are 0x00RRGGBB (surface.h); the unused byte of the source is ignored and
// written as 0.
//
// A decoder hands out rows, so the source arrives row by row, and only the rows and columns that
// reach the destination are asked for: a picture cropped by its place is never decoded whole, and
// memory stays at a few rows whatever the picture's size.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/surface.h"

namespace gloam {

class ScaledDraw {
  public:
    // Will draw a src_width x src_height picture stretched over `place` (in pixels of `dst`, any
    // part of it may lie outside `dst`); only the part on `dst` is written.
    ScaledDraw(PixelView dst, const Rect& place, int32_t src_width, int32_t src_height);

    // The source pixels that reach `dst`; empty when none do.
    const Rect& SourceArea() const { return source_; }
    // Takes the next row of SourceArea(), top to bottom: its pixels from SourceArea().left to
    // SourceArea().right. A destination row is written as soon as its last source row is in.
    void PushRow(const uint32_t* pixels);
    // Every row of SourceArea() has been pushed, so every destination pixel is written.
    bool Done() const { return next_row_ >= source_.bottom; }

    // The weights of one axis: for each destination pixel on the surface, the source pixels it
    // takes and how much of each (in 1/16384, adding up to 16384).
    struct Taps {
        int32_t first_out = 0;          // the first destination coordinate on the surface
        std::vector<int32_t> start;     // per destination pixel, its first source pixel
        std::vector<uint32_t> offset;   // per destination pixel, where its weights begin; one more
        std::vector<uint16_t> weights;  // at the end
        int32_t Count() const { return static_cast<int32_t>(start.size()); }
        int32_t TapCount(int32_t i) const {
            return static_cast<int32_t>(offset[static_cast<size_t>(i) + 1] -
                                        offset[static_cast<size_t>(i)]);
        }
    };
    // The taps of the destination coordinates [place_start, place_start + length) that lie in
    // [0, dst_length), for a source `source_length` long.
    static Taps AxisTaps(int32_t place_start, int32_t length, int32_t dst_length,
                         int32_t source_length);

  private:
    uint16_t* RingRow(int32_t source_row);
    void WriteRow(int32_t out);

    PixelView dst_;
    Rect source_;
    Taps columns_;
    Taps rows_;
    bool same_size_ = false;  // a copy: no weights, no ring
    int32_t ring_rows_ = 0;
    std::vector<uint16_t> ring_;  // horizontally scaled rows: 3 channels per column, 8.8 fixed
    std::vector<uint32_t> sums_;  // one destination row's weighted sums, 3 per column
    int32_t next_row_ = 0;
    int32_t next_out_ = 0;
};

// The whole of `src` scaled over `place` in `dst`.
void DrawScaled(PixelView dst, const Rect& place, PixelView src);

}  // namespace gloam
