#include "platform/screen_win.h"

#include <windows.h>

#include "platform/numeric.h"

namespace gloam {

int ScreenMetrics::PixelsX(double twips) const {
    return Nearest(twips / twips_per_pixel_x);
}
int ScreenMetrics::PixelsY(double twips) const {
    return Nearest(twips / twips_per_pixel_y);
}

ScreenMetrics ReadScreen() {
    ScreenMetrics screen;
    screen.width_pixels = ::GetSystemMetrics(SM_CXSCREEN);
    screen.height_pixels = ::GetSystemMetrics(SM_CYSCREEN);
    if (HDC dc = ::GetDC(nullptr)) {
        const int dpi_x = ::GetDeviceCaps(dc, LOGPIXELSX);
        const int dpi_y = ::GetDeviceCaps(dc, LOGPIXELSY);
        ::ReleaseDC(nullptr, dc);
        if (dpi_x > 0) screen.twips_per_pixel_x = 1440.0 / dpi_x;
        if (dpi_y > 0) screen.twips_per_pixel_y = 1440.0 / dpi_y;
    }
    return screen;
}

}  // namespace gloam
