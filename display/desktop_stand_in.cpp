#include "display/desktop_stand_in.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace gloam {
namespace {

wchar_t AsciiUpper(wchar_t c) {
    return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - L'a' + L'A') : c;
}

bool IsSeparator(wchar_t c) {
    return c == L'\\' || c == L'/';
}

// The decimal number at the start of a text, after blanks; 0 when there is none. Large numbers
// stop growing at a value no style has.
int64_t LeadingInteger(std::wstring_view text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == L' ' || text[at] == L'\t')) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == L'+' || text[at] == L'-')) negative = text[at++] == L'-';
    int64_t value = 0;
    for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9'; ++at) {
        value = std::min<int64_t>(value * 10 + (text[at] - L'0'), 1'000'000'000);
    }
    return negative ? -value : value;
}

// p / q to the nearest integer, halves to the even one; p >= 0, q > 0.
int64_t NearestQuotient(int64_t p, int64_t q) {
    const int64_t quotient = p / q;
    const int64_t twice_rest = 2 * (p % q);
    if (twice_rest > q || (twice_rest == q && quotient % 2 != 0)) return quotient + 1;
    return quotient;
}

// Half of a difference, rounded down, so that an odd remainder goes right and down.
int64_t HalfOf(int64_t difference) {
    return difference >= 0 ? difference / 2 : -((-difference + 1) / 2);
}

std::optional<Rect> RectOf(int64_t left, int64_t top, int64_t width, int64_t height) {
    constexpr int64_t kLow = std::numeric_limits<int32_t>::min();
    constexpr int64_t kHigh = std::numeric_limits<int32_t>::max();
    const int64_t right = left + width;
    const int64_t bottom = top + height;
    if (left < kLow || top < kLow || right > kHigh || bottom > kHigh) return std::nullopt;
    return Rect{static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(right),
                static_cast<int32_t>(bottom)};
}

// The picture scaled to fit inside `frame` whole (cover false) or to cover it (cover true),
// keeping its shape, centred on it.
std::optional<Rect> ScaledInto(int64_t w, int64_t h, const Rect& frame, bool cover) {
    const int64_t fw = frame.Width();
    const int64_t fh = frame.Height();
    if (fw <= 0 || fh <= 0) return std::nullopt;
    // Wider than the frame, shape for shape: Fit meets the frame's sides, Fill its top and bottom.
    const bool wider = w * fh > h * fw;
    int64_t width = fw;
    int64_t height = fh;
    if (wider != cover) {
        height = std::max<int64_t>(1, NearestQuotient(h * fw, w));
    } else {
        width = std::max<int64_t>(1, NearestQuotient(w * fh, h));
    }
    return RectOf(frame.left + HalfOf(fw - width), frame.top + HalfOf(fh - height), width, height);
}

}  // namespace

bool IsScreenSaverDesktop(std::wstring_view desktop_name) {
    constexpr std::wstring_view kName = L"Screen-saver";
    return desktop_name.size() == kName.size() &&
           std::equal(kName.begin(), kName.end(), desktop_name.begin(),
                      [](wchar_t a, wchar_t b) { return AsciiUpper(a) == AsciiUpper(b); });
}

WallpaperStyle StyleFromRegistry(std::wstring_view wallpaper_style,
                                 std::wstring_view tile_wallpaper) {
    switch (LeadingInteger(wallpaper_style)) {
        case 2:
            return WallpaperStyle::Stretch;
        case 6:
            return WallpaperStyle::Fit;
        case 10:
            return WallpaperStyle::Fill;
        case 22:
            return WallpaperStyle::Span;
        default:
            return LeadingInteger(tile_wallpaper) == 1 ? WallpaperStyle::Tile
                                                       : WallpaperStyle::Center;
    }
}

std::optional<WallpaperStyle> StyleFromPosition(int32_t position) {
    static constexpr WallpaperStyle kByPosition[] = {WallpaperStyle::Center,  WallpaperStyle::Tile,
                                                     WallpaperStyle::Stretch, WallpaperStyle::Fit,
                                                     WallpaperStyle::Fill,    WallpaperStyle::Span};
    if (position < 0 || position >= static_cast<int32_t>(std::size(kByPosition))) {
        return std::nullopt;
    }
    return kByPosition[position];
}

std::optional<WallpaperPlacement> PlaceWallpaper(WallpaperStyle style, int32_t image_width,
                                                 int32_t image_height, const Rect& monitor,
                                                 const Rect& virtual_screen) {
    if (image_width <= 0 || image_height <= 0 || monitor.Empty()) return std::nullopt;
    const int64_t w = image_width;
    const int64_t h = image_height;
    const Rect own{0, 0, monitor.Width(), monitor.Height()};
    std::optional<Rect> image;
    switch (style) {
        case WallpaperStyle::Center:
            image = RectOf(HalfOf(own.Width() - w), HalfOf(own.Height() - h), w, h);
            break;
        case WallpaperStyle::Tile:
            return WallpaperPlacement{Rect{0, 0, image_width, image_height}, true};
        case WallpaperStyle::Stretch:
            image = own;
            break;
        case WallpaperStyle::Fit:
            image = ScaledInto(w, h, own, false);
            break;
        case WallpaperStyle::Fill:
            image = ScaledInto(w, h, own, true);
            break;
        case WallpaperStyle::Span: {
            const std::optional<Rect> span =
                RectOf(int64_t{virtual_screen.left} - monitor.left,
                       int64_t{virtual_screen.top} - monitor.top, virtual_screen.Width(),
                       virtual_screen.Height());
            if (span) image = ScaledInto(w, h, *span, true);
            break;
        }
    }
    if (!image) return std::nullopt;
    return WallpaperPlacement{*image, false};
}

void RepeatTile(PixelView surface, const Rect& tile) {
    const Rect first = Intersect(tile, surface.Bounds());
    if (first.Empty() || first.left != 0 || first.top != 0) return;
    const int32_t width = first.Width();
    const int32_t height = first.Height();
    for (int32_t y = 0; y < height; ++y) {
        uint32_t* row = surface.Row(y);
        for (int32_t x = width; x < surface.width; x += width) {
            std::copy(row, row + std::min(width, surface.width - x), row + x);
        }
    }
    for (int32_t y = height; y < surface.height; ++y) {
        const uint32_t* from = surface.Row(y - height);
        std::copy(from, from + surface.width, surface.Row(y));
    }
}

PathPlace PlaceOfPath(std::wstring_view path) {
    if (path.empty()) return PathPlace::None;
    const auto starts_with = [path](std::wstring_view prefix) {
        return path.size() >= prefix.size() &&
               std::equal(prefix.begin(), prefix.end(), path.begin(),
                          [](wchar_t a, wchar_t b) { return AsciiUpper(a) == AsciiUpper(b); });
    };
    std::wstring_view rest = path;
    if (starts_with(L"\\\\?\\")) {
        if (starts_with(L"\\\\?\\UNC\\")) return PathPlace::Network;
        rest = path.substr(4);
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        // "\\.\" and "\\?\" in any spelling are devices; anything else so begun is a share.
        if (path.size() >= 4 && (path[2] == L'.' || path[2] == L'?') && IsSeparator(path[3])) {
            return PathPlace::Other;
        }
        return PathPlace::Network;
    }
    const wchar_t drive = rest.empty() ? L'\0' : AsciiUpper(rest[0]);
    if (rest.size() >= 3 && drive >= L'A' && drive <= L'Z' && rest[1] == L':' &&
        IsSeparator(rest[2])) {
        return PathPlace::Drive;
    }
    return PathPlace::Other;
}

wchar_t DriveOfPath(std::wstring_view path) {
    const size_t at = path.size() >= 4 && path.substr(0, 4) == L"\\\\?\\" ? 4 : 0;
    return at < path.size() ? AsciiUpper(path[at]) : L'\0';
}

std::vector<std::wstring> WallpaperFiles(std::wstring_view chosen, std::wstring_view kept_copy,
                                         const std::function<bool(wchar_t drive)>& drive_is_local) {
    std::vector<std::wstring> files;
    if (PlaceOfPath(chosen) == PathPlace::None) return files;
    for (std::wstring_view path : {chosen, kept_copy}) {
        if (PlaceOfPath(path) == PathPlace::Drive && drive_is_local(DriveOfPath(path))) {
            files.emplace_back(path);
        }
    }
    return files;
}

}  // namespace gloam
