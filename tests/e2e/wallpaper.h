// What the user's desktop is made of when nothing of it can be copied: the desktop colour, the
// wallpaper and its placement, and the copy the system keeps of the wallpaper. The tests write
// their own pictures with the system's encoders (WIC), set the colour as the system's settings do
// and the wallpaper in the registry, where Wine reads it when a process starts
// (SPI_GETDESKWALLPAPER). Each object puts back what was there before when it goes.
//
// And the desktop the system starts a screen saver on, made by the test as the system makes it.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "capture.h"
#include "no_copy.h"
#include "registry.h"

namespace e2e {

// "Screen-saver" in window station WinSta0, for as long as the object lives. Under Wine its
// windows show on the one X screen with every other desktop's, so screenshots see them.
class ScreenSaverDesktop : NoCopy {
  public:
    // What a start names in STARTUPINFO.lpDesktop.
    static constexpr wchar_t kPath[] = L"WinSta0\\Screen-saver";

    ScreenSaverDesktop();
    ~ScreenSaverDesktop();
    bool Made() const { return desktop_ != nullptr; }
    // Makes the desktop see the pointer at `where`, where it already is: call it right before a
    // start there (pointer_place.h says why). False, with a test failure, when it cannot.
    bool PointerShownAt(POINT where);

  private:
    HDESK desktop_ = nullptr;
};

enum class PictureFormat { Png, Jpeg };

// Writes `picture` with the system's encoder (JPEG at its best quality). False on any failure.
bool WritePicture(const std::wstring& path, PictureFormat format, const Surface& picture);
// A picture file as the system's decoder reads it.
std::optional<Surface> ReadPicture(const std::wstring& path);
// Any bytes as a file.
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// A folder of the test's own under %TEMP%, removed with its files.
class TempFolder : NoCopy {
  public:
    TempFolder();
    ~TempFolder();
    const std::wstring& Path() const { return path_; }
    std::wstring File(const wchar_t* name) const { return path_ + L"\\" + name; }

  private:
    std::wstring path_;
};

// The desktop colour (SetSysColors) and HKEY_CURRENT_USER\Control Panel\Desktop Wallpaper,
// WallpaperStyle and TileWallpaper while the object lives.
class DesktopSettings : NoCopy {
  public:
    DesktopSettings();
    ~DesktopSettings();
    void SetColour(COLORREF colour);
    // An empty path: no wallpaper.
    void SetWallpaper(const std::wstring& path, const wchar_t* style, const wchar_t* tile);

  private:
    std::optional<RawValue> wallpaper_, style_, tile_;
    COLORREF colour_;
};

// %APPDATA%\Microsoft\Windows\Themes\TranscodedWallpaper, the copy the system keeps of the
// wallpaper, written as a PNG while the object lives.
class KeptWallpaperCopy : NoCopy {
  public:
    explicit KeptWallpaperCopy(const Surface& picture);
    ~KeptWallpaperCopy();
    bool Written() const { return written_; }
    static std::wstring Path();

  private:
    std::optional<std::string> previous_;
    bool written_ = false;
};

// The share \\localhost\<name> showing `folder`, while the object lives. Under Wine a share is a
// link in the prefix's dosdevices\unc folder, which the test makes with a Unix program.
// Ready() is false where that cannot be done (not under Wine).
class LocalShare : NoCopy {
  public:
    LocalShare(const std::wstring& name, const std::wstring& folder);
    ~LocalShare();
    bool Ready() const { return ready_; }
    std::wstring Path(const wchar_t* file) const {
        return L"\\\\localhost\\" + name_ + L"\\" + file;
    }

  private:
    std::wstring name_;
    std::wstring link_;  // Unix path
    bool ready_ = false;
};

}  // namespace e2e
