#include "platform/resample.h"

#include <algorithm>

namespace gloam {
namespace {

constexpr uint32_t kOne = 1u << 14;  // a weight of one

// Appends the weights of destination pixel `i` of `length`, from a source `source` long.
void AddTaps(ScaledDraw::Taps& taps, int64_t i, int64_t length, int64_t source) {
    const auto add = [&taps](int64_t first, std::vector<uint16_t> weights) {
        // Drop weights of 0 at either end; at least one weight is left.
        while (weights.size() > 1 && weights.back() == 0) weights.pop_back();
        size_t skip = 0;
        while (skip + 1 < weights.size() && weights[skip] == 0) ++skip;
        taps.start.push_back(static_cast<int32_t>(first + static_cast<int64_t>(skip)));
        taps.weights.insert(taps.weights.end(), weights.begin() + static_cast<ptrdiff_t>(skip),
                            weights.end());
        taps.offset.push_back(static_cast<uint32_t>(taps.weights.size()));
    };
    if (length == source) {
        add(i, {static_cast<uint16_t>(kOne)});
    } else if (length < source) {
        // In units of 1/length of a source pixel, destination pixel i covers [lo, hi) and source
        // pixel k covers [k * length, (k + 1) * length): each weighs what it shares.
        const int64_t lo = i * source;
        const int64_t hi = lo + source;
        const int64_t first = lo / length;
        const int64_t last = (hi - 1) / length;
        std::vector<uint16_t> weights;
        uint32_t sum = 0;
        size_t largest = 0;
        for (int64_t k = first; k <= last; ++k) {
            const int64_t shared = std::min(hi, (k + 1) * length) - std::max(lo, k * length);
            const auto weight = static_cast<uint16_t>(shared * kOne / source);
            sum += weight;
            if (weights.empty() || weight > weights[largest]) largest = weights.size();
            weights.push_back(weight);
        }
        // What the rounding down lost goes to the largest weight, so that they add up to one.
        weights[largest] = static_cast<uint16_t>(weights[largest] + (kOne - sum));
        add(first, std::move(weights));
    } else {
        // The centre of destination pixel i lies at u = (i + 1/2) * source / length - 1/2 source
        // pixels; u = numerator / denominator.
        const int64_t numerator = (2 * i + 1) * source - length;
        const int64_t denominator = 2 * length;
        if (numerator <= 0) {
            add(0, {static_cast<uint16_t>(kOne)});
            return;
        }
        const int64_t k = numerator / denominator;
        if (k >= source - 1) {
            add(source - 1, {static_cast<uint16_t>(kOne)});
            return;
        }
        const int64_t fraction = numerator % denominator;
        const auto next = static_cast<uint16_t>((2 * fraction * kOne + denominator) /
                                                (2 * denominator));  // to the nearest
        add(k, {static_cast<uint16_t>(kOne - next), next});
    }
}

uint32_t Channel(uint32_t pixel, int shift) {
    return (pixel >> shift) & 0xFFu;
}

}  // namespace

ScaledDraw::Taps ScaledDraw::AxisTaps(int32_t place_start, int32_t length, int32_t dst_length,
                                      int32_t source_length) {
    Taps taps;
    taps.offset.push_back(0);
    if (length <= 0 || source_length <= 0 || dst_length <= 0) return taps;
    const int64_t first = std::max<int64_t>(0, -static_cast<int64_t>(place_start));
    const int64_t end = std::min<int64_t>(length, static_cast<int64_t>(dst_length) - place_start);
    if (end <= first) return taps;
    taps.first_out = static_cast<int32_t>(place_start + first);
    for (int64_t i = first; i < end; ++i) AddTaps(taps, i, length, source_length);
    return taps;
}

ScaledDraw::ScaledDraw(PixelView dst, const Rect& place, int32_t src_width, int32_t src_height)
    : dst_(dst) {
    columns_ = AxisTaps(place.left, place.Width(), dst.width, src_width);
    rows_ = AxisTaps(place.top, place.Height(), dst.height, src_height);
    if (columns_.Count() == 0 || rows_.Count() == 0) return;
    const auto source_span = [](const Taps& taps) {
        const int32_t last = taps.Count() - 1;
        return std::pair{taps.start.front(),
                         taps.start[static_cast<size_t>(last)] + taps.TapCount(last)};
    };
    const auto [left, right] = source_span(columns_);
    const auto [top, bottom] = source_span(rows_);
    source_ = Rect{left, top, right, bottom};
    next_row_ = top;
    same_size_ = place.Width() == src_width && place.Height() == src_height;
    if (same_size_) return;
    for (int32_t i = 0; i < rows_.Count(); ++i) {
        ring_rows_ = std::max(ring_rows_, rows_.TapCount(i));
    }
    ring_.resize(static_cast<size_t>(ring_rows_) * static_cast<size_t>(columns_.Count()) * 3);
    sums_.resize(static_cast<size_t>(columns_.Count()) * 3);
}

uint16_t* ScaledDraw::RingRow(int32_t source_row) {
    const auto slot = static_cast<size_t>(source_row % ring_rows_);
    return ring_.data() + slot * static_cast<size_t>(columns_.Count()) * 3;
}

void ScaledDraw::PushRow(const uint32_t* pixels) {
    if (Done()) return;
    const int32_t row = next_row_++;
    if (same_size_) {
        // At its own size each source pixel is one destination pixel.
        uint32_t* target = dst_.Row(rows_.first_out + next_out_++) + columns_.first_out;
        for (int32_t j = 0; j < columns_.Count(); ++j) target[j] = pixels[j] & 0x00FFFFFFu;
        return;
    }
    // Across: each column's taps, kept in 8.8 fixed point for the pass down.
    uint16_t* scaled = RingRow(row);
    for (int32_t j = 0; j < columns_.Count(); ++j) {
        const auto J = static_cast<size_t>(j);
        const uint32_t* from = pixels + (columns_.start[J] - source_.left);
        uint32_t red = 0, green = 0, blue = 0;
        for (uint32_t t = columns_.offset[J]; t < columns_.offset[J + 1]; ++t) {
            const uint32_t weight = columns_.weights[t];
            const uint32_t pixel = *from++;
            red += weight * Channel(pixel, 16);
            green += weight * Channel(pixel, 8);
            blue += weight * Channel(pixel, 0);
        }
        scaled[3 * J] = static_cast<uint16_t>((red + 32) >> 6);
        scaled[3 * J + 1] = static_cast<uint16_t>((green + 32) >> 6);
        scaled[3 * J + 2] = static_cast<uint16_t>((blue + 32) >> 6);
    }
    // Down: every destination row whose last source row this was.
    while (next_out_ < rows_.Count() &&
           rows_.start[static_cast<size_t>(next_out_)] + rows_.TapCount(next_out_) - 1 <= row) {
        WriteRow(next_out_++);
    }
}

void ScaledDraw::WriteRow(int32_t out) {
    const auto O = static_cast<size_t>(out);
    const size_t values = static_cast<size_t>(columns_.Count()) * 3;
    // Each source row's weighted values added in turn, along the whole row at once.
    std::fill(sums_.begin(), sums_.end(), 0u);
    for (uint32_t t = rows_.offset[O]; t < rows_.offset[O + 1]; ++t) {
        const uint32_t weight = rows_.weights[t];
        const uint16_t* scaled =
            RingRow(rows_.start[O] + static_cast<int32_t>(t - rows_.offset[O]));
        for (size_t k = 0; k < values; ++k) sums_[k] += weight * scaled[k];
    }
    constexpr uint32_t kHalf = 1u << 21;
    uint32_t* target = dst_.Row(rows_.first_out + out) + columns_.first_out;
    for (int32_t j = 0; j < columns_.Count(); ++j) {
        const uint32_t* sum = sums_.data() + 3 * static_cast<size_t>(j);
        target[j] = ((sum[0] + kHalf) >> 22) << 16 | ((sum[1] + kHalf) >> 22) << 8 |
                    ((sum[2] + kHalf) >> 22);
    }
}

void DrawScaled(PixelView dst, const Rect& place, PixelView src) {
    ScaledDraw draw(dst, place, src.width, src.height);
    const Rect& area = draw.SourceArea();
    for (int32_t y = area.top; y < area.bottom; ++y) draw.PushRow(src.Row(y) + area.left);
}

}  // namespace gloam
