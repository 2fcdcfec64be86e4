#include "display/frame_composer.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstdint>

namespace gloam {
namespace {

Rect SquareAt(Point at, int32_t size) {
    const auto end = [size](int32_t start) {
        return static_cast<int32_t>(
            std::min<int64_t>(static_cast<int64_t>(start) + size, INT32_MAX));
    };
    return Rect{at.x, at.y, end(at.x), end(at.y)};
}

// A run of screen columns [left, right), clipped to the screen.
struct Run {
    int32_t left = 0;
    int32_t right = 0;
    bool Empty() const { return right <= left; }
};

// The lit run of screen row `y` for a spot at `at`, clipped to [0, width). In 64 bits, so that no
// spot position can overflow.
Run LitRun(const std::vector<Span>& spans, Point at, int32_t y, int32_t width) {
    const int64_t v = static_cast<int64_t>(y) - at.y;
    if (v < 0 || v >= static_cast<int64_t>(spans.size())) return {};
    const Span& span = spans[static_cast<size_t>(v)];
    if (span.Empty()) return {};
    return Run{
        static_cast<int32_t>(std::max<int64_t>(static_cast<int64_t>(at.x) + span.left, 0)),
        static_cast<int32_t>(std::min<int64_t>(static_cast<int64_t>(at.x) + span.right, width))};
}

// The parts of `a` that `b` does not cover, left of it and right of it; either may be empty.
std::array<Run, 2> Outside(Run a, Run b) {
    if (b.Empty()) return {Run{}, a};
    return {Run{a.left, std::min(a.right, b.left)}, Run{std::max(a.left, b.right), a.right}};
}

// The screen rows [top, bottom) of a spot `size` rows high at `at`, clipped to [0, height).
Run RowsOf(Point at, int64_t size, int32_t height) {
    return Run{static_cast<int32_t>(std::clamp<int64_t>(at.y, 0, height)),
               static_cast<int32_t>(std::clamp<int64_t>(at.y + size, 0, height))};
}

// What one screen row needs between two frames, given the runs that the old and the new disc
// light on it: black where the old disc leaves, the desktop where the new one arrives. Where both
// are lit the row holds the desktop already, unless the desktop copy changed since the last frame.
struct RowChange {
    std::array<Run, 2> clear;
    std::array<Run, 2> show;
};

RowChange ChangeOfRow(Run old_lit, Run new_lit, bool desktop_changed) {
    return RowChange{Outside(old_lit, new_lit),
                     Outside(new_lit, desktop_changed ? Run{} : old_lit)};
}

// The bounding box of the runs added to it.
class Box {
  public:
    void Add(int32_t y, Run run) {
        left_ = std::min(left_, run.left);
        right_ = std::max(right_, run.right);
        top_ = std::min(top_, y);
        bottom_ = y + 1;  // rows come top to bottom
    }
    Rect Get() const { return right_ > left_ ? Rect{left_, top_, right_, bottom_} : Rect{}; }

  private:
    int32_t left_ = INT32_MAX;
    int32_t right_ = INT32_MIN;
    int32_t top_ = INT32_MAX;
    int32_t bottom_ = INT32_MIN;
};

// Gathers the runs that a frame writes into the rectangles to present. The rows are cut into
// bands; within a band a run whose middle lies left of the midline between the old and the new
// square goes to one box, any other run to a second, so that a sideways move gives two thin
// rectangles around the two crescents instead of one over the whole disc.
//
// The pieces are disjoint, so that no pixel is presented twice: bands share no row, and the two
// boxes of one band become one piece when they overlap.
class PieceCollector {
  public:
    // The old and the new square's left edges, and their side.
    PieceCollector(FrameChange& change, int32_t old_x, int32_t new_x, int64_t size)
        : change_(change), twice_midline_(static_cast<int64_t>(old_x) + new_x + size) {
        change_.bounds = Rect{};
        change_.piece_count = 0;
        change_.pixels_written = 0;
    }

    void Add(int32_t y, Run run) {
        // Twice the run's middle against twice the midline: whole numbers.
        if (static_cast<int64_t>(run.left) + run.right > twice_midline_) {
            right_.Add(y, run);
        } else {
            left_.Add(y, run);
        }
        written_ += run.right - run.left;
    }

    int64_t Written() const { return written_; }

    void EndBand() {
        const Rect left = left_.Get();
        const Rect right = right_.Get();
        if (!left.Empty() && !right.Empty() && !Intersect(left, right).Empty()) {
            AddPiece(Union(left, right));
        } else {
            AddPiece(left);
            AddPiece(right);
        }
        left_ = Box{};
        right_ = Box{};
    }

  private:
    void AddPiece(const Rect& piece) {
        if (piece.Empty()) return;
        change_.pieces[static_cast<size_t>(change_.piece_count++)] = piece;
        change_.bounds = Union(change_.bounds, piece);
    }

    FrameChange& change_;
    // The midline lies halfway between the squares' centres, old_x + size / 2 and
    // new_x + size / 2; twice it is old_x + new_x + size.
    int64_t twice_midline_;
    int64_t written_ = 0;
    Box left_;
    Box right_;
};

// Black over `run` of the row `out`.
void ClearRun(uint32_t* out, int32_t y, Run run, PieceCollector& pieces) {
    if (run.Empty()) return;
    ClearRow(out + run.left, run.right - run.left);
    pieces.Add(y, run);
}

// The desktop row `in` over `run` of the row `out`.
void ShowRun(uint32_t* out, const uint32_t* in, int32_t y, Run run, PieceCollector& pieces) {
    if (run.Empty()) return;
    CopyAnd(out + run.left, in + run.left, run.right - run.left, kWhite);
    pieces.Add(y, run);
}

}  // namespace

void ComposeFrame(PixelView work, PixelView desktop, PixelView spot_mask, Point at,
                  int32_t spot_size) {
    Fill(work, work.Bounds(), kBlack);
    StretchBlt(work, at.x, at.y, spot_size, spot_size, spot_mask, 0, 0, spot_mask.width,
               spot_mask.height);
    BitBlt(work, 0, 0, work.width, work.height, desktop, 0, 0, Rop::And);
}

std::optional<std::vector<Span>> RowSpans(PixelView mask) {
    std::vector<Span> spans(static_cast<size_t>(std::max(mask.height, 0)));
    for (int32_t y = 0; y < mask.height; ++y) {
        const uint32_t* row = mask.Row(y);
        int32_t x = 0;
        while (x < mask.width && row[x] == kBlack) ++x;
        const int32_t left = x;
        while (x < mask.width && row[x] == kWhite) ++x;
        const int32_t right = x;
        while (x < mask.width && row[x] == kBlack) ++x;
        if (x != mask.width) return std::nullopt;
        spans[static_cast<size_t>(y)] = right > left ? Span{left, right} : Span{};
    }
    return spans;
}

SpotCompositor::SpotCompositor(PixelView spot_mask, int32_t spot_size, Method method)
    : stretched_(spot_size, spot_size, kBlack) {
    StretchBlt(stretched_.View(), 0, 0, spot_size, spot_size, spot_mask, 0, 0, spot_mask.width,
               spot_mask.height);
    if (method == Method::Auto && spot_size > 0) {
        if (auto spans = RowSpans(stretched_.View())) spans_ = std::move(*spans);
    }
}

const FrameChange& SpotCompositor::Compose(PixelView back, PixelView desktop, Point at) {
    if (UsesSpans()) {
        ComposeSpans(back, desktop, at);
    } else {
        ComposeSquares(back, desktop, at);
    }
    last_at_ = at;
    has_last_ = true;
    rewrite_ = false;
    return change_;
}

void SpotCompositor::ComposeSquares(PixelView back, PixelView desktop, Point at) {
    const int32_t size = stretched_.Width();
    const Rect last = has_last_ ? Intersect(SquareAt(last_at_, size), back.Bounds()) : Rect{};
    const Rect square = Intersect(SquareAt(at, size), back.Bounds());
    Fill(back, last, kBlack);
    BitBlt(back, at.x, at.y, size, size, stretched_.View(), 0, 0, Rop::Copy);
    BitBlt(back, at.x, at.y, size, size, desktop, at.x, at.y, Rop::And);

    change_.bounds = Union(last, square);
    change_.piece_count = change_.bounds.Empty() ? 0 : 1;
    change_.pieces[0] = change_.bounds;
    const Rect both = Intersect(last, square);
    change_.pixels_written = static_cast<int64_t>(last.Width()) * last.Height() +
                             static_cast<int64_t>(square.Width()) * square.Height() -
                             static_cast<int64_t>(both.Width()) * both.Height();
}

void SpotCompositor::ComposeSpans(PixelView back, PixelView desktop, Point at) {
    const auto size = static_cast<int64_t>(spans_.size());
    PieceCollector pieces(change_, has_last_ ? last_at_.x : at.x, at.x, size);
    const Run new_rows = RowsOf(at, size, back.height);
    const Run old_rows = has_last_ ? RowsOf(last_at_, size, back.height) : Run{};
    if (new_rows.Empty() && old_rows.Empty()) return;
    const Run rows = new_rows.Empty()   ? old_rows
                     : old_rows.Empty() ? new_rows
                                        : Run{std::min(new_rows.left, old_rows.left),
                                              std::max(new_rows.right, old_rows.right)};

    const int64_t row_count = rows.right - rows.left;
    for (int32_t band = 0; band < FrameChange::kBands; ++band) {
        const auto first = static_cast<int32_t>(rows.left + row_count * band / FrameChange::kBands);
        const auto end =
            static_cast<int32_t>(rows.left + row_count * (band + 1) / FrameChange::kBands);
        for (int32_t y = first; y < end; ++y) {
            const Run old_lit = has_last_ ? LitRun(spans_, last_at_, y, back.width) : Run{};
            const RowChange row = ChangeOfRow(old_lit, LitRun(spans_, at, y, back.width), rewrite_);
            uint32_t* out = back.Row(y);
            const uint32_t* in = desktop.Row(y);
            ClearRun(out, y, row.clear[0], pieces);
            ClearRun(out, y, row.clear[1], pieces);
            ShowRun(out, in, y, row.show[0], pieces);
            ShowRun(out, in, y, row.show[1], pieces);
        }
        pieces.EndBand();
    }
    change_.pixels_written = pieces.Written();
}

}  // namespace gloam
