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

// The bounding box of the runs added to it.
class Box {
  public:
    void Add(int32_t y, Run run) {
        left_ = std::min(left_, run.left);
        right_ = std::max(right_, run.right);
        top_ = std::min(top_, y);
        bottom_ = std::max(bottom_, y + 1);
    }
    Rect Get() const { return right_ > left_ ? Rect{left_, top_, right_, bottom_} : Rect{}; }

  private:
    int32_t left_ = INT32_MAX;
    int32_t right_ = INT32_MIN;
    int32_t top_ = INT32_MAX;
    int32_t bottom_ = INT32_MIN;
};

void AddPiece(FrameChange& change, const Rect& piece) {
    if (piece.Empty()) return;
    change.pieces[static_cast<size_t>(change.piece_count++)] = piece;
    change.bounds = Union(change.bounds, piece);
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
    const auto rows_of = [&](Point p) {
        return Run{static_cast<int32_t>(std::clamp<int64_t>(p.y, 0, back.height)),
                   static_cast<int32_t>(std::clamp<int64_t>(p.y + size, 0, back.height))};
    };
    const Run new_rows = rows_of(at);
    const Run old_rows = has_last_ ? rows_of(last_at_) : Run{};
    Run rows = new_rows.Empty() ? old_rows : new_rows;
    if (!new_rows.Empty() && !old_rows.Empty()) {
        rows =
            Run{std::min(new_rows.left, old_rows.left), std::max(new_rows.right, old_rows.right)};
    }

    change_.bounds = Rect{};
    change_.piece_count = 0;
    change_.pixels_written = 0;
    if (rows.Empty()) return;

    // Runs left of the middle of the two squares go to one box of their band, the others to a
    // second, so that a sideways move gives two thin crescents instead of one box over the disc.
    const Point old_at = has_last_ ? last_at_ : at;
    const int64_t split2 =
        std::min<int64_t>(old_at.x, at.x) + std::max<int64_t>(old_at.x, at.x) + size;
    const int64_t row_count = rows.right - rows.left;
    const bool keep_both = !rewrite_;
    int64_t written = 0;

    for (int32_t band = 0; band < FrameChange::kBands; ++band) {
        const auto first = static_cast<int32_t>(rows.left + row_count * band / FrameChange::kBands);
        const auto last =
            static_cast<int32_t>(rows.left + row_count * (band + 1) / FrameChange::kBands);
        Box sides[2];
        const auto note = [&](int32_t y, Run run) {
            sides[static_cast<int64_t>(run.left) + run.right > split2 ? 1 : 0].Add(y, run);
            written += run.right - run.left;
        };
        for (int32_t y = first; y < last; ++y) {
            const Run old_run = has_last_ ? LitRun(spans_, last_at_, y, back.width) : Run{};
            const Run new_run = LitRun(spans_, at, y, back.width);
            uint32_t* out = back.Row(y);
            const uint32_t* in = desktop.Row(y);
            // Where the old disc leaves: black.
            const auto clear = [&](Run gone) {
                if (gone.Empty()) return;
                ClearRow(out + gone.left, gone.right - gone.left);
                note(y, gone);
            };
            const auto [gone_left, gone_right] = Outside(old_run, new_run);
            clear(gone_left);
            clear(gone_right);
            // Where the new disc arrives: the desktop. Under both discs the back buffer already
            // holds it, unless the desktop copy changed since.
            const auto show = [&](Run come) {
                if (come.Empty()) return;
                CopyAnd(out + come.left, in + come.left, come.right - come.left, kWhite);
                note(y, come);
            };
            const auto [come_left, come_right] = Outside(new_run, keep_both ? old_run : Run{});
            show(come_left);
            show(come_right);
        }
        const Rect left = sides[0].Get();
        const Rect right = sides[1].Get();
        if (!left.Empty() && !right.Empty() && !Intersect(left, right).Empty()) {
            AddPiece(change_, Union(left, right));
        } else {
            AddPiece(change_, left);
            AddPiece(change_, right);
        }
    }
    change_.pixels_written = written;
}

}  // namespace gloam
