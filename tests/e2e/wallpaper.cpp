#include "wallpaper.h"

#include <gtest/gtest.h>
#include <shlobj.h>
#include <wincodec.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "environment.h"
#include "platform/handles_win.h"
#include "pointer_place.h"
#include "text.h"
#include "wait.h"

namespace e2e {
namespace {

constexpr wchar_t kDesktopKey[] = L"Control Panel\\Desktop";

void Restore(const wchar_t* subkey, const wchar_t* name, const std::optional<RawValue>& value) {
    if (value) {
        WriteRaw(subkey, name, *value);
    } else {
        DeleteRegValue(subkey, name);
    }
}

gloam::com_ptr<IWICImagingFactory> Wic() {
    gloam::com_ptr<IWICImagingFactory> factory;
    CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                     factory.put_void());
    return factory;
}

std::optional<std::string> ReadBytes(const std::wstring& path) {
    std::ifstream in(path.c_str(), std::ios::binary);
    if (!in) return std::nullopt;
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The Unix path of a file or folder of the test (Wine's kernel32 tells).
std::optional<std::string> UnixPathOf(const std::wstring& path) {
    using Function = char*(CDECL*)(const wchar_t*);
    const auto unix_name = reinterpret_cast<Function>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unix_name ? unix_name(path.c_str()) : nullptr;
    if (!name) return std::nullopt;
    std::string result(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

struct PointerPlace {
    HDESK desktop;
    POINT where;
};

DWORD WINAPI ShowPointerOn(void* argument) {
    const auto* place = static_cast<const PointerPlace*>(argument);
    if (!SetThreadDesktop(place->desktop)) return GetLastError();
    return ShowPointerAt(place->where, 25s) ? 0 : ERROR_TIMEOUT;
}

}  // namespace

ScreenSaverDesktop::ScreenSaverDesktop() {
    desktop_ = CreateDesktopW(L"Screen-saver", nullptr, nullptr, 0, GENERIC_ALL, nullptr);
    if (!desktop_) {
        ADD_FAILURE() << "cannot make the Screen-saver desktop, error " << GetLastError();
    }
}

bool ScreenSaverDesktop::PointerShownAt(POINT where) {
    PointerPlace place{desktop_, where};
    const gloam::unique_handle thread(CreateThread(nullptr, 0, ShowPointerOn, &place, 0, nullptr));
    DWORD result = ERROR_TIMEOUT;
    // The thread keeps to its own time limit, and `place` must outlive it.
    if (!thread || WaitForSingleObject(thread.get(), INFINITE) != WAIT_OBJECT_0 ||
        !GetExitCodeThread(thread.get(), &result) || result != 0) {
        ADD_FAILURE() << "the Screen-saver desktop never saw the pointer at (" << where.x << ", "
                      << where.y << "), error " << result;
        return false;
    }
    // Under Wine 10 a program started on the desktop right after this could still read the older
    // place first; a moment later it reads this one.
    Sleep(300);
    return true;
}

ScreenSaverDesktop::~ScreenSaverDesktop() {
    if (desktop_) CloseDesktop(desktop_);
}

bool WritePicture(const std::wstring& path, PictureFormat format, const Surface& picture) {
    const gloam::com_apartment com;
    const gloam::com_ptr<IWICImagingFactory> factory = Wic();
    gloam::com_ptr<IWICStream> stream;
    gloam::com_ptr<IWICBitmapEncoder> encoder;
    gloam::com_ptr<IWICBitmapFrameEncode> frame;
    gloam::com_ptr<IPropertyBag2> options;
    const GUID container =
        format == PictureFormat::Png ? GUID_ContainerFormatPng : GUID_ContainerFormatJpeg;
    if (!factory || FAILED(factory->CreateStream(stream.put())) ||
        FAILED(stream->InitializeFromFilename(path.c_str(), GENERIC_WRITE)) ||
        FAILED(factory->CreateEncoder(container, nullptr, encoder.put())) ||
        FAILED(encoder->Initialize(stream.get(), WICBitmapEncoderNoCache)) ||
        FAILED(encoder->CreateNewFrame(frame.put(), options.put()))) {
        return false;
    }
    if (format == PictureFormat::Jpeg) {
        PROPBAG2 option{};
        option.pstrName = const_cast<wchar_t*>(L"ImageQuality");
        VARIANT best{};
        best.vt = VT_R4;
        best.fltVal = 1.0f;
        if (FAILED(options->Write(1, &option, &best))) return false;
    }
    WICPixelFormatGUID pixel_format = GUID_WICPixelFormat24bppBGR;
    if (FAILED(frame->Initialize(options.get())) ||
        FAILED(frame->SetSize(static_cast<UINT>(picture.Width()),
                              static_cast<UINT>(picture.Height()))) ||
        FAILED(frame->SetPixelFormat(&pixel_format)) ||
        pixel_format != GUID_WICPixelFormat24bppBGR) {
        return false;
    }
    const size_t stride = static_cast<size_t>(picture.Width()) * 3;
    std::vector<BYTE> rows(stride * static_cast<size_t>(picture.Height()));
    size_t i = 0;
    for (int y = 0; y < picture.Height(); ++y) {
        for (int x = 0; x < picture.Width(); ++x, ++i) {
            const std::uint32_t p = picture.At(x, y);
            rows[3 * i] = static_cast<BYTE>(p);
            rows[3 * i + 1] = static_cast<BYTE>(p >> 8);
            rows[3 * i + 2] = static_cast<BYTE>(p >> 16);
        }
    }
    return SUCCEEDED(frame->WritePixels(static_cast<UINT>(picture.Height()),
                                        static_cast<UINT>(stride), static_cast<UINT>(rows.size()),
                                        rows.data())) &&
           SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
}

std::optional<Surface> ReadPicture(const std::wstring& path) {
    const gloam::com_apartment com;
    const gloam::com_ptr<IWICImagingFactory> factory = Wic();
    gloam::com_ptr<IWICBitmapDecoder> decoder;
    gloam::com_ptr<IWICBitmapFrameDecode> frame;
    gloam::com_ptr<IWICFormatConverter> converter;
    UINT width = 0, height = 0;
    if (!factory ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())) ||
        FAILED(decoder->GetFrame(0, frame.put())) || FAILED(frame->GetSize(&width, &height)) ||
        FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom))) {
        return std::nullopt;
    }
    Surface picture(static_cast<int>(width), static_cast<int>(height));
    const gloam::PixelView pixels = picture.View();
    if (FAILED(converter->CopyPixels(nullptr, width * 4, width * height * 4,
                                     reinterpret_cast<BYTE*>(pixels.pixels)))) {
        return std::nullopt;
    }
    for (size_t i = 0; i < static_cast<size_t>(width) * height; ++i)
        pixels.pixels[i] &= 0x00FFFFFFu;
    return picture;
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream out(path.c_str(), std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

TempFolder::TempFolder() {
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH, temp);
    path_ = std::wstring(temp) + L"gloam-e2e-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(path_.c_str(), nullptr);
}

TempFolder::~TempFolder() {
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            DeleteFileW(File(found.cFileName).c_str());
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(path_.c_str());
}

DesktopSettings::DesktopSettings()
    : wallpaper_(ReadRaw(kDesktopKey, L"Wallpaper")),
      style_(ReadRaw(kDesktopKey, L"WallpaperStyle")),
      tile_(ReadRaw(kDesktopKey, L"TileWallpaper")),
      colour_(GetSysColor(COLOR_DESKTOP)) {}

DesktopSettings::~DesktopSettings() {
    Restore(kDesktopKey, L"Wallpaper", wallpaper_);
    Restore(kDesktopKey, L"WallpaperStyle", style_);
    Restore(kDesktopKey, L"TileWallpaper", tile_);
    SetColour(colour_);
}

void DesktopSettings::SetColour(COLORREF colour) {
    // As the system's settings do. Wine keeps the colours a theme or a program sets apart from
    // "Control Panel\Colors" and reads them first, so a value written there alone may not count.
    const INT element = COLOR_DESKTOP;
    if (!SetSysColors(1, &element, &colour))
        ADD_FAILURE() << "SetSysColors, error " << GetLastError();
}

void DesktopSettings::SetWallpaper(const std::wstring& path, const wchar_t* style,
                                   const wchar_t* tile) {
    WriteRegString(kDesktopKey, L"Wallpaper", path);
    WriteRegString(kDesktopKey, L"WallpaperStyle", style);
    WriteRegString(kDesktopKey, L"TileWallpaper", tile);
}

std::wstring KeptWallpaperCopy::Path() {
    PWSTR raw = nullptr;
    SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &raw);
    const gloam::unique_cotaskmem_string folder(raw);
    return folder
               ? std::wstring(folder.get()) + L"\\Microsoft\\Windows\\Themes\\TranscodedWallpaper"
               : std::wstring();
}

KeptWallpaperCopy::KeptWallpaperCopy(const Surface& picture) {
    const std::wstring path = Path();
    if (path.empty()) {
        ADD_FAILURE() << "no application data folder";
        return;
    }
    previous_ = ReadBytes(path);
    SHCreateDirectoryExW(nullptr, path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
    written_ = WritePicture(path, PictureFormat::Png, picture);
    if (!written_) ADD_FAILURE() << "cannot write " << Narrow(path);
}

KeptWallpaperCopy::~KeptWallpaperCopy() {
    if (previous_) {
        WriteBytes(Path(), *previous_);
    } else {
        DeleteFileW(Path().c_str());
    }
}

LocalShare::LocalShare(const std::wstring& name, const std::wstring& folder) : name_(name) {
    wchar_t prefix[MAX_PATH] = {};
    const std::optional<std::string> target = UnixPathOf(folder);
    if (!UnderWine() || !target ||
        !GetEnvironmentVariableW(L"WINEPREFIX", prefix, static_cast<DWORD>(std::size(prefix)))) {
        return;
    }
    const std::wstring shares = std::wstring(prefix) + L"/dosdevices/unc/localhost";
    link_ = shares + L"/" + name;
    if (!StartUnix(L"/bin/sh -c \"mkdir -p " + shares + L" && ln -sfn " +
                   std::wstring(target->begin(), target->end()) + L" " + link_ + L"\"")) {
        return;
    }
    ready_ =
        WaitUntil([&] { return GetFileAttributesW(Path(L"").c_str()) != INVALID_FILE_ATTRIBUTES; },
                  10s, 20ms);
}

LocalShare::~LocalShare() {
    if (link_.empty()) return;
    StartUnix(L"/bin/rm -f " + link_);
    WaitUntil([&] { return GetFileAttributesW(Path(L"").c_str()) == INVALID_FILE_ATTRIBUTES; }, 5s,
              20ms);
}

}  // namespace e2e
