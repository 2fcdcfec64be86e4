// The desktop copy on the desktop the system starts screen savers on (desktop_stand_in.h): the
// desktop colour and the primary monitor's wallpaper as the user placed it.
//
// The wallpaper and its placement come from IDesktopWallpaper (Windows 8 and later; looked up at
// run time through COM), else from SPI_GETDESKWALLPAPER and the values under
// HKEY_CURRENT_USER\Control Panel\Desktop. A file that is gone or cannot be shown gives way to the
// copy the system keeps of the wallpaper (%APPDATA%\Microsoft\Windows\Themes\TranscodedWallpaper),
// and that to the colour. Files on a network share or a drive that is not local are never opened,
// so nothing here can wait on a server that does not answer.
#pragma once

#include "platform/surface.h"

namespace gloam {

// Whether the calling thread runs on that desktop. False when its name cannot be read.
bool OnScreenSaverDesktop();

// Fills `copy` (the primary monitor's pixels) with the desktop colour and draws the wallpaper over
// it. Never fails: whatever goes wrong leaves the colour.
void DrawDesktopStandIn(PixelView copy);

}  // namespace gloam
