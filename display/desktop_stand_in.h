// What the desktop copy holds when the system starts the display on a desktop of its own.
//
// Windows 10 and 11 start a screen saver on the desktop WinSta0\Screen-saver, where nothing of the
// user's desktop can be copied: a copy of the screen there is a plain colour. On that desktop the
// copy stands in for the user's desktop as Windows draws it with no window open: the desktop
// colour over the whole primary monitor and the primary monitor's wallpaper placed as the user
// chose it. This is the portable half: which desktop that is, how the six placements lay a
// picture onto the monitor, and which files may be read. desktop_stand_in_win.cpp reads the
// settings and the files.
//
// Rectangles are in pixels. A placement is relative to the monitor's top-left corner; the
// monitor and the virtual screen (the bounding rectangle of all monitors) are in virtual-screen
// pixels.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/surface.h"

namespace gloam {

// The desktop the system starts a screen saver on, "Screen-saver", whatever the case.
bool IsScreenSaverDesktop(std::wstring_view desktop_name);

// The six ways of placing a wallpaper that the system offers.
enum class WallpaperStyle { Center, Tile, Stretch, Fit, Fill, Span };

// HKEY_CURRENT_USER\Control Panel\Desktop: WallpaperStyle 0 is Center, or Tile with TileWallpaper
// 1; 2 Stretch, 6 Fit, 10 Fill, 22 Span. Both texts are read as the system reads them, by their
// leading decimal number (blanks before it skipped; none is 0); an absent value is an empty text.
// A style number outside that list is taken as 0, and so is a TileWallpaper other than 1 as not
// tiled.
WallpaperStyle StyleFromRegistry(std::wstring_view wallpaper_style,
                                 std::wstring_view tile_wallpaper);

// IDesktopWallpaper's DESKTOP_WALLPAPER_POSITION: 0 Center, 1 Tile, 2 Stretch, 3 Fit, 4 Fill,
// 5 Span. Nullopt for any other number.
std::optional<WallpaperStyle> StyleFromPosition(int32_t position);

struct WallpaperPlacement {
    Rect image;          // where the whole picture lands, relative to the monitor's top-left
    bool tiled = false;  // and repeated from there to the right and down
    friend bool operator==(const WallpaperPlacement&, const WallpaperPlacement&) = default;
};

// Where a picture of image_width x image_height lands on `monitor`:
// - Center: at its own size, centred; an odd pixel left over goes to the right and bottom margins,
//   and of a picture larger than the monitor the odd pixel cut off is cut on the left and top;
// - Tile: at its own size from the top-left corner, repeated;
// - Stretch: over the whole monitor;
// - Fit: as large as fits whole, keeping its shape, centred; the colour shows beside it;
// - Fill: as small as covers the monitor, keeping its shape, centred; the rest is cut off;
// - Span: Fill over the whole virtual screen, of which the monitor shows its own part.
// Scaled sides are rounded to the nearest pixel (halves to even) and are at least 1. Nullopt when
// the picture or the monitor has no pixels or a side would not fit 32 bits.
std::optional<WallpaperPlacement> PlaceWallpaper(WallpaperStyle style, int32_t image_width,
                                                 int32_t image_height, const Rect& monitor,
                                                 const Rect& virtual_screen);

// Repeats the picture drawn at `tile` (its top-left at the surface's origin) over the whole
// surface.
void RepeatTile(PixelView surface, const Rect& tile);

// What a path says about where its file is, read from its text alone.
enum class PathPlace {
    None,     // empty: no wallpaper chosen
    Drive,    // a drive letter and a full path ("C:\...", "\\?\C:\..."): the drive's type decides
    Network,  // a share ("\\server\share\...", "\\?\UNC\..."): may not answer; never read
    Other,    // a device, a relative or a drive-relative path: nothing a wallpaper is; never read
};
PathPlace PlaceOfPath(std::wstring_view path);
// The drive letter of a PathPlace::Drive path, upper case.
wchar_t DriveOfPath(std::wstring_view path);

// The files to try for the wallpaper, in order: the chosen one, then the copy the system keeps of
// it (TranscodedWallpaper), each only when it lies on a drive that `drive_is_local` accepts. None
// when no wallpaper is chosen: the copy kept from an earlier wallpaper is then not shown.
std::vector<std::wstring> WallpaperFiles(std::wstring_view chosen, std::wstring_view kept_copy,
                                         const std::function<bool(wchar_t drive)>& drive_is_local);

}  // namespace gloam
