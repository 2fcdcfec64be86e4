#include "display/desktop_stand_in_win.h"

#include <shlobj.h>
#include <shobjidl.h>
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "display/desktop_stand_in.h"
#include "platform/desktop_win.h"
#include "platform/handles_win.h"
#include "platform/image_file_win.h"
#include "platform/registry_win.h"

namespace gloam {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

struct WallpaperSetting {
    std::wstring path;
    WallpaperStyle style = WallpaperStyle::Center;
};

// The primary monitor's wallpaper and placement from IDesktopWallpaper, when the system has it.
std::optional<WallpaperSetting> SettingFromDesktopWallpaper(const Rect& primary) {
    com_ptr<IDesktopWallpaper> wallpaper;
    if (FAILED(::CoCreateInstance(CLSID_DesktopWallpaper, nullptr, CLSCTX_INPROC_SERVER,
                                  IID_IDesktopWallpaper, wallpaper.put_void()))) {
        return std::nullopt;
    }
    UINT monitors = 0;
    if (FAILED(wallpaper->GetMonitorDevicePathCount(&monitors))) return std::nullopt;
    std::optional<std::wstring> path;
    for (UINT i = 0; i < monitors && !path; ++i) {
        unique_cotaskmem_string id;
        LPWSTR raw_id = nullptr;
        if (FAILED(wallpaper->GetMonitorDevicePathAt(i, &raw_id))) continue;
        id.reset(raw_id);
        RECT rect{};
        if (FAILED(wallpaper->GetMonitorRECT(id.get(), &rect)) ||
            Rect{rect.left, rect.top, rect.right, rect.bottom} != primary) {
            continue;
        }
        LPWSTR raw_path = nullptr;
        if (wallpaper->GetWallpaper(id.get(), &raw_path) == S_OK) {
            const unique_cotaskmem_string owned(raw_path);
            path = std::wstring(owned.get() ? owned.get() : L"");
        }
    }
    if (!path) return std::nullopt;
    WallpaperSetting setting{*path, WallpaperStyle::Center};
    DESKTOP_WALLPAPER_POSITION position{};
    const std::optional<WallpaperStyle> style =
        SUCCEEDED(wallpaper->GetPosition(&position))
            ? StyleFromPosition(static_cast<int32_t>(position))
            : std::nullopt;
    setting.style = style.value_or(
        StyleFromRegistry(ReadUserValueText(kDesktopKey, L"WallpaperStyle").value_or(L""),
                          ReadUserValueText(kDesktopKey, L"TileWallpaper").value_or(L"")));
    return setting;
}

// The one wallpaper of all monitors as the older interface gives it.
WallpaperSetting SettingFromSystemParameters() {
    WallpaperSetting setting;
    std::vector<wchar_t> path(1024, L'\0');
    if (::SystemParametersInfoW(SPI_GETDESKWALLPAPER, static_cast<UINT>(path.size() - 1),
                                path.data(), 0)) {
        setting.path = path.data();
    } else {
        setting.path = ReadUserValueText(kDesktopKey, L"Wallpaper").value_or(L"");
    }
    setting.style =
        StyleFromRegistry(ReadUserValueText(kDesktopKey, L"WallpaperStyle").value_or(L""),
                          ReadUserValueText(kDesktopKey, L"TileWallpaper").value_or(L""));
    return setting;
}

// %APPDATA%\Microsoft\Windows\Themes\TranscodedWallpaper; empty when the folder is not known. The
// folder is not checked, since checking could reach a redirected folder on a server.
std::wstring KeptCopyPath() {
    LPWSTR raw = nullptr;
    const HRESULT found =
        ::SHGetKnownFolderPath(FOLDERID_RoamingAppData, KF_FLAG_DONT_VERIFY, nullptr, &raw);
    const unique_cotaskmem_string folder(raw);
    if (FAILED(found) || !folder) return L"";
    return std::wstring(folder.get()) + L"\\Microsoft\\Windows\\Themes\\TranscodedWallpaper";
}

bool DriveIsLocal(wchar_t drive) {
    const wchar_t root[] = {drive, L':', L'\\', L'\0'};
    switch (::GetDriveTypeW(root)) {
        case DRIVE_FIXED:
        case DRIVE_REMOVABLE:
        case DRIVE_RAMDISK:
            return true;
        default:  // a network drive, a disc that may have to spin up, none
            return false;
    }
}

bool DrawWallpaperFile(PixelView copy, const std::wstring& path, WallpaperStyle style,
                       const Rect& primary, const Rect& virtual_screen) {
    std::optional<WallpaperPlacement> placement;
    const bool drawn = DrawImageFile(path, copy, [&](int32_t width, int32_t height) {
        placement = PlaceWallpaper(style, width, height, primary, virtual_screen);
        return placement ? std::optional<Rect>(placement->image) : std::nullopt;
    });
    if (drawn && placement->tiled) RepeatTile(copy, placement->image);
    return drawn;
}

}  // namespace

bool OnScreenSaverDesktop() {
    const std::optional<std::wstring> name = ThreadDesktopName();
    return name && IsScreenSaverDesktop(*name);
}

void DrawDesktopStandIn(PixelView copy) {
    const uint32_t colour = PixelOfColorRef(::GetSysColor(COLOR_DESKTOP));
    Fill(copy, copy.Bounds(), colour);
    try {
        const com_apartment com;
        // The copy is the primary monitor, whose top-left is the virtual screen's origin.
        const Rect primary{0, 0, copy.width, copy.height};
        const int32_t left = ::GetSystemMetrics(SM_XVIRTUALSCREEN);
        const int32_t top = ::GetSystemMetrics(SM_YVIRTUALSCREEN);
        const Rect virtual_screen{left, top, left + ::GetSystemMetrics(SM_CXVIRTUALSCREEN),
                                  top + ::GetSystemMetrics(SM_CYVIRTUALSCREEN)};
        std::optional<WallpaperSetting> setting = SettingFromDesktopWallpaper(primary);
        if (!setting) setting = SettingFromSystemParameters();
        for (const std::wstring& file :
             WallpaperFiles(setting->path, KeptCopyPath(), DriveIsLocal)) {
            if (DrawWallpaperFile(copy, file, setting->style, primary, virtual_screen)) return;
            Fill(copy, copy.Bounds(), colour);  // no part of a picture that failed half-way
        }
    } catch (...) {
        // Out of memory on the way: the colour alone.
        Fill(copy, copy.Bounds(), colour);
    }
}

}  // namespace gloam
