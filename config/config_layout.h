// frmConfig as designed: its client size and its controls in tab order, positions and sizes in
// twips. A control inside a frame is placed relative to that frame, as the form designer keeps
// it; ControlPixels turns a control's place into pixels of the form's client area.
//
// Captions are UTF-8; `&` marks the access key.
#pragma once

#include <array>
#include <cstdint>

namespace gloam {

enum class ControlKind { Frame, Option, Button, Label };

struct ControlDesign {
    const char* name;
    ControlKind kind;
    int32_t index;  // member of a control array, -1 for a single control
    const char* caption;
    double left, top, width, height;  // twips
    int32_t frame;                    // position of the containing frame in the table, or -1
};

inline constexpr double kConfigClientWidth = 5055;
inline constexpr double kConfigClientHeight = 2520;
// 9.75 points, the size of both of the dialog's fonts.
inline constexpr double kConfigFontTwips = 195;

inline constexpr int32_t kFraSpeed = 0;
inline constexpr int32_t kFraSize = 4;

// Tab order. Within each row of options the index grows from left to right.
inline constexpr std::array<ControlDesign, 11> kConfigControls{{
    {"fraSpeed", ControlKind::Frame, -1, "速度(&S)", 135, 90, 3090, 885, -1},
    {"optSpeed", ControlKind::Option, 0, "遅い", 255, 345, 765, 255, kFraSpeed},
    {"optSpeed", ControlKind::Option, 1, "普通", 1200, 345, 765, 255, kFraSpeed},
    {"optSpeed", ControlKind::Option, 2, "速い", 2145, 345, 765, 255, kFraSpeed},
    {"fraSize", ControlKind::Frame, -1, "サイズ(&W)", 135, 1125, 3090, 885, -1},
    {"optSize", ControlKind::Option, 0, "小さい", 255, 390, 900, 255, kFraSize},
    {"optSize", ControlKind::Option, 1, "普通", 1200, 390, 900, 255, kFraSize},
    {"optSize", ControlKind::Option, 2, "大きい", 2145, 390, 900, 255, kFraSize},
    {"cmdOK", ControlKind::Button, -1, "&OK", 3525, 180, 1410, 375, -1},
    {"cmdCancel", ControlKind::Button, -1, "ｷｬﾝｾﾙ", 3525, 630, 1410, 375, -1},
    {"Label1", ControlKind::Label, -1, "Gloam Drift Screen Saver v1.00 - GloamDrift team", 30, 2205,
     4980, 255, -1},
}};

struct PixelBox {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    friend bool operator==(const PixelBox&, const PixelBox&) = default;
};

// The control's box in client pixels. Each length is converted on its own (to the nearest pixel)
// and a framed control's offset is added to its frame's converted position, so controls inside
// one frame keep their spacing whatever the frame's rounding.
PixelBox ControlPixels(int32_t position, double twips_per_pixel_x, double twips_per_pixel_y);

// The whole form at a pixel density (dots per inch; 1440 / dpi twips per pixel both ways): its
// client size, the pixel height of its fonts and every control's box in tab order. The form lays
// itself out from this when it loads and again when it moves to a monitor of another density.
struct ConfigLayout {
    int32_t client_width = 0;
    int32_t client_height = 0;
    int32_t font_pixels = 0;
    std::array<PixelBox, kConfigControls.size()> controls{};
};

ConfigLayout ConfigLayoutAt(int32_t dpi);

}  // namespace gloam
