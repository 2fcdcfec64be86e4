#include "harness.h"

#include "probe/probe.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <thread>

namespace e2e {

namespace {

struct RegKey {
    HKEY key = nullptr;
    RegKey() = default;
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;
    ~RegKey() {
        if (key) RegCloseKey(key);
    }
};

struct WindowDc {
    HWND hwnd;
    HDC dc;
    explicit WindowDc(HWND window) : hwnd(window), dc(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc) ReleaseDC(hwnd, dc);
    }
};

struct MemoryDc {
    HDC dc;
    explicit MemoryDc(HDC compatible) : dc(CreateCompatibleDC(compatible)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc) DeleteDC(dc);
    }
};

struct GdiObject {
    HGDIOBJ object;
    explicit GdiObject(HGDIOBJ o) : object(o) {}
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() {
        if (object) DeleteObject(object);
    }
};

struct SelectGuard {
    HDC dc;
    HGDIOBJ previous;
    SelectGuard(HDC d, HGDIOBJ o) : dc(d), previous(SelectObject(d, o)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc, previous); }
};

std::wstring ModuleFolder() {
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        path.resize(path.size() * 2);
    }
    return path.substr(0, path.find_last_of(L"\\/"));
}

BITMAPINFO TopDown32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

const wchar_t* RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = name;
    // Registering twice fails harmlessly: the class stays as registered the first time.
    RegisterClassExW(&wc);
    return name;
}

struct PatternBits {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

LRESULT CALLBACK PatternProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* bits = reinterpret_cast<PatternBits*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    switch (msg) {
        case WM_NCCREATE: {
            auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
            break;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_PAINT: {
            PAINTSTRUCT ps;
            HDC dc = BeginPaint(hwnd, &ps);
            if (bits) {
                BITMAPINFO info = TopDown32(bits->width, bits->height);
                SetDIBitsToDevice(dc, 0, 0, bits->width, bits->height, 0, 0, 0, bits->height,
                                  bits->pixels.data(), &info, DIB_RGB_COLORS);
            }
            EndPaint(hwnd, &ps);
            return 0;
        }
        case WM_NCDESTROY:
            delete bits;
            SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
            break;
        default:
            break;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

void SendOne(INPUT input) {
    if (SendInput(1, &input, sizeof(INPUT)) != 1) {
        ADD_FAILURE() << "SendInput failed, error " << GetLastError();
    }
}

}  // namespace

// ---- text ---------------------------------------------------------------------------------------

std::string Narrow(std::wstring_view text) {
    if (text.empty()) return {};
    int n = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
    std::string out(static_cast<size_t>(n), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
    return out;
}

bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle) {
    auto it = std::search(haystack.begin(), haystack.end(), needle.begin(), needle.end(),
                          [](wchar_t a, wchar_t b) { return towlower(a) == towlower(b); });
    return it != haystack.end() || needle.empty();
}

bool EqualsNoCase(std::wstring_view a, std::wstring_view b) {
    return a.size() == b.size() && ContainsNoCase(a, b);
}

// ---- files --------------------------------------------------------------------------------------

std::wstring ScrPath() {
    wchar_t buffer[32768];
    DWORD n = GetEnvironmentVariableW(L"GLOAM_SCR", buffer, 32768);
    if (n > 0 && n < 32768) return std::wstring(buffer, n);
    return ModuleFolder() + L"\\GloamDrift.scr";
}

std::wstring ScrFolder() {
    std::wstring path = ScrPath();
    return path.substr(0, path.find_last_of(L"\\/"));
}

// ---- waiting ------------------------------------------------------------------------------------

void PumpMessages() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

bool WaitUntil(const std::function<bool()>& done, Millis limit, Millis poll) {
    auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;) {
        PumpMessages();
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= deadline) break;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(poll.count()), QS_ALLINPUT);
    }
    PumpMessages();
    return done();
}

void PumpFor(Millis span) {
    WaitUntil([] { return false; }, span);
}

// ---- windows ------------------------------------------------------------------------------------

WindowInfo DescribeWindow(HWND hwnd) {
    WindowInfo info;
    info.hwnd = hwnd;
    GetWindowThreadProcessId(hwnd, &info.pid);
    wchar_t text[512];
    int n = GetWindowTextW(hwnd, text, 512);
    info.title.assign(text, static_cast<size_t>(std::max(n, 0)));
    n = GetClassNameW(hwnd, text, 512);
    info.cls.assign(text, static_cast<size_t>(std::max(n, 0)));
    info.style = GetWindowLongPtrW(hwnd, GWL_STYLE);
    info.exStyle = GetWindowLongPtrW(hwnd, GWL_EXSTYLE);
    GetWindowRect(hwnd, &info.rect);
    info.visible = IsWindowVisible(hwnd) != FALSE;
    return info;
}

std::vector<WindowInfo> TopLevelWindowsOf(DWORD pid) {
    struct Ctx {
        DWORD pid;
        std::vector<HWND> found;
    } ctx{pid, {}};
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* c = reinterpret_cast<Ctx*>(lp);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            if (owner == c->pid) c->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&ctx));
    std::vector<WindowInfo> out;
    for (HWND hwnd : ctx.found) out.push_back(DescribeWindow(hwnd));
    return out;
}

std::vector<WindowInfo> FindTopLevelWindows(std::wstring_view title, std::wstring_view cls) {
    std::vector<HWND> all;
    EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&all));
    std::vector<WindowInfo> out;
    for (HWND hwnd : all) {
        WindowInfo info = DescribeWindow(hwnd);
        if ((title.empty() || info.title == title) && (cls.empty() || info.cls == cls)) {
            out.push_back(std::move(info));
        }
    }
    return out;
}

double TwipsPerPixel() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return 1440.0 / (dpi > 0 ? dpi : 96);
}

int Px(double twips) {
    return static_cast<int>(std::nearbyint(twips / TwipsPerPixel()));
}

std::vector<HWND> ChildWindowsOf(HWND parent) {
    std::vector<HWND> children;
    EnumChildWindows(
        parent,
        [](HWND hwnd, LPARAM lp) -> BOOL {
            reinterpret_cast<std::vector<HWND>*>(lp)->push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&children));
    return children;
}

std::wstring DialogStaticText(HWND dialog) {
    const std::vector<HWND> children = ChildWindowsOf(dialog);
    std::wstring text;
    for (HWND child : children) {
        WindowInfo info = DescribeWindow(child);
        if (!EqualsNoCase(info.cls, L"Static") || info.title.empty()) continue;
        if (!text.empty()) text += L'\n';
        text += info.title;
    }
    return text;
}

std::wstring WaitForDialogText(HWND dialog, Millis limit) {
    std::wstring text;
    WaitUntil(
        [&] {
            text = DialogStaticText(dialog);
            return !text.empty();
        },
        limit);
    return text;
}

void PressDialogButton(HWND dialog, int id) {
    HWND button = GetDlgItem(dialog, id);
    PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

const char* ToString(CursorLook look) {
    switch (look) {
        case CursorLook::NotProbed:
            return "not probed";
        case CursorLook::NoClassCursor:
            return "no class cursor";
        case CursorLook::Unreadable:
            return "unreadable";
        case CursorLook::Visible:
            return "visible";
        case CursorLook::Invisible:
            return "invisible";
    }
    return "?";
}

CursorLook ProbeClassCursor(HWND hwnd) {
    struct Library {
        HMODULE module;
        ~Library() {
            if (module) FreeLibrary(module);
        }
    } probe{LoadLibraryW((ModuleFolder() + L"\\" + gloam_probe::kDllName).c_str())};
    if (!probe.module) {
        ADD_FAILURE() << "cannot load " << Narrow(gloam_probe::kDllName) << ", error "
                      << GetLastError();
        return CursorLook::NotProbed;
    }
    auto proc = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void*>(GetProcAddress(probe.module, gloam_probe::kHookProc)));
    if (!proc) {
        ADD_FAILURE() << "the probe has no hook procedure";
        return CursorLook::NotProbed;
    }
    struct Hook {
        HHOOK hook;
        ~Hook() {
            if (hook) UnhookWindowsHookEx(hook);
        }
    } hook{SetWindowsHookExW(WH_CALLWNDPROC, proc, probe.module,
                             GetWindowThreadProcessId(hwnd, nullptr))};
    if (!hook.hook) {
        ADD_FAILURE() << "cannot hook the window's thread, error " << GetLastError();
        return CursorLook::NotProbed;
    }
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(hwnd, RegisterWindowMessageW(gloam_probe::kMessage), 0, 0, SMTO_ABORTIFHUNG,
                        5000, &ignored);
    switch (reinterpret_cast<LONG_PTR>(GetPropW(hwnd, gloam_probe::kProperty))) {
        case gloam_probe::kNoClassCursor:
            return CursorLook::NoClassCursor;
        case gloam_probe::kUnreadable:
            return CursorLook::Unreadable;
        case gloam_probe::kVisible:
            return CursorLook::Visible;
        case gloam_probe::kInvisible:
            return CursorLook::Invisible;
        default:
            return CursorLook::NotProbed;
    }
}

// ---- the program under test ---------------------------------------------------------------------

ScrProcess::ScrProcess(std::wstring_view args, std::wstring scr) {
    commandLine_ = L"\"" + scr + L"\"";
    if (!args.empty()) {
        commandLine_ += L' ';
        commandLine_ += args;
    }
    std::wstring mutableLine = commandLine_;
    STARTUPINFOW si{};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(scr.c_str(), mutableLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &si, &pi)) {
        ADD_FAILURE() << "cannot start " << Narrow(commandLine_) << ", error " << GetLastError();
        return;
    }
    CloseHandle(pi.hThread);
    process_ = pi.hProcess;
    pid_ = pi.dwProcessId;
}

ScrProcess::~ScrProcess() {
    Kill();
    if (process_) CloseHandle(process_);
}

bool ScrProcess::Running() const {
    return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool ScrProcess::WaitExit(Millis limit) {
    if (!process_) return false;
    return WaitUntil([this] { return !Running(); }, limit, 5ms);
}

std::optional<DWORD> ScrProcess::ExitCode() const {
    DWORD code = 0;
    if (!process_ || Running() || !GetExitCodeProcess(process_, &code)) return std::nullopt;
    return code;
}

void ScrProcess::Kill() {
    if (!Running()) return;
    TerminateProcess(process_, 0xDEAD);
    WaitForSingleObject(process_, 10000);
}

std::vector<WindowInfo> ScrProcess::Windows() const {
    return pid_ ? TopLevelWindowsOf(pid_) : std::vector<WindowInfo>{};
}

std::optional<WindowInfo> ScrProcess::WaitForVisibleWindow(std::wstring_view cls,
                                                           std::wstring_view title, Millis limit) {
    std::optional<WindowInfo> found;
    WaitUntil(
        [&] {
            Observe();
            for (auto& w : Windows()) {
                if (w.visible && w.cls == cls && (title.empty() || w.title == title)) {
                    found = w;
                    return true;
                }
            }
            return !Running();
        },
        limit);
    return found;
}

void ScrProcess::Observe() {
    for (auto& w : Windows()) {
        if (w.visible) seenVisible_.insert(w.cls);
    }
}

bool ScrProcess::WaitExitObserving(Millis limit) {
    if (!process_) return false;
    return WaitUntil(
        [this] {
            Observe();
            return !Running();
        },
        limit, 2ms);
}

// ---- registry -----------------------------------------------------------------------------------

std::optional<std::wstring> ReadRegString(const wchar_t* subkey, const wchar_t* name) {
    RegKey key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, subkey, 0, KEY_QUERY_VALUE, &key.key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD bytes = 0;
    if (RegQueryValueExW(key.key, name, nullptr, &type, nullptr, &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    if (type != REG_SZ) {
        ADD_FAILURE() << Narrow(subkey) << "\\" << Narrow(name) << " has type " << type
                      << ", not REG_SZ";
        return std::nullopt;
    }
    std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
    bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
    if (RegQueryValueExW(key.key, name, nullptr, &type, reinterpret_cast<BYTE*>(value.data()),
                         &bytes) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(bytes / sizeof(wchar_t));
    while (!value.empty() && value.back() == L'\0') value.pop_back();
    return value;
}

void WriteRegString(const wchar_t* subkey, const wchar_t* name, std::wstring_view value) {
    RegKey key;
    LSTATUS rc = RegCreateKeyExW(HKEY_CURRENT_USER, subkey, 0, nullptr, 0, KEY_SET_VALUE, nullptr,
                                 &key.key, nullptr);
    ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot create " << Narrow(subkey);
    std::wstring data(value);
    rc = RegSetValueExW(key.key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                        static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    ASSERT_EQ(rc, ERROR_SUCCESS) << "cannot write " << Narrow(subkey) << "\\" << Narrow(name);
}

void DeleteRegTree(const wchar_t* subkey) {
    LSTATUS rc = RegDeleteTreeW(HKEY_CURRENT_USER, subkey);
    if (rc == ERROR_SUCCESS || rc == ERROR_FILE_NOT_FOUND) {
        RegDeleteKeyW(HKEY_CURRENT_USER, subkey);
        return;
    }
    ADD_FAILURE() << "cannot delete " << Narrow(subkey) << ", error " << rc;
}

void ResetProgramRegistry() {
    DeleteRegTree(kSettingsRoot);
    DeleteRegTree(kInstallRoot);
}

// ---- screen -------------------------------------------------------------------------------------

ScreenSize PrimaryScreen() {
    return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

double Screenshot::ShareOf(std::uint32_t colour) const {
    if (pixels.empty()) return 0.0;
    auto n = std::count(pixels.begin(), pixels.end(), colour);
    return static_cast<double>(n) / static_cast<double>(pixels.size());
}

Screenshot CaptureScreen() {
    Screenshot shot;
    ScreenSize screen = PrimaryScreen();
    shot.width = screen.width;
    shot.height = screen.height;
    WindowDc screenDc(nullptr);
    MemoryDc memory(screenDc.dc);
    BITMAPINFO info = TopDown32(shot.width, shot.height);
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screenDc.dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.object || !bits) {
        ADD_FAILURE() << "cannot make a DIB section for the screenshot";
        return shot;
    }
    {
        SelectGuard select(memory.dc, bitmap.object);
        BitBlt(memory.dc, 0, 0, shot.width, shot.height, screenDc.dc, 0, 0, SRCCOPY | CAPTUREBLT);
        GdiFlush();
        const auto* src = static_cast<const std::uint32_t*>(bits);
        shot.pixels.assign(src, src + static_cast<size_t>(shot.width) * shot.height);
    }
    for (auto& p : shot.pixels) p &= 0x00FFFFFFu;
    return shot;
}

std::uint32_t PatternColour(int x, int y) {
    unsigned cx = static_cast<unsigned>(x) / 8;
    unsigned cy = static_cast<unsigned>(y) / 8;
    unsigned r = 0x20 + (cx * 29u) % 0xC0u;
    unsigned g = 0x20 + (cy * 53u) % 0xC0u;
    unsigned b = 0x20 + ((cx + cy) * 17u) % 0xC0u;
    return (r << 16) | (g << 8) | b;
}

// ---- the test's own windows ---------------------------------------------------------------------

TitledWindow::TitledWindow(std::wstring_view title) {
    const wchar_t* cls = RegisterTestClass(L"GloamE2ETitled", DefWindowProcW);
    std::wstring text(title);
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, cls, text.c_str(), WS_POPUP, 0, 0, 16, 16, nullptr,
                            nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) ADD_FAILURE() << "cannot create a window titled " << Narrow(title);
}

TitledWindow::~TitledWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
}

PatternWindow::PatternWindow() {
    const wchar_t* cls = RegisterTestClass(L"GloamE2EPattern", PatternProc);
    ScreenSize screen = PrimaryScreen();
    auto* bits = new PatternBits{screen.width, screen.height, {}};
    bits->pixels.resize(static_cast<size_t>(screen.width) * screen.height);
    for (int y = 0; y < screen.height; ++y) {
        for (int x = 0; x < screen.width; ++x) {
            bits->pixels[static_cast<size_t>(y) * screen.width + x] = PatternColour(x, y);
        }
    }
    hwnd_ = CreateWindowExW(WS_EX_TOOLWINDOW, cls, L"GloamDrift e2e pattern", WS_POPUP, 0, 0,
                            screen.width, screen.height, nullptr, nullptr,
                            GetModuleHandleW(nullptr), bits);
    if (!hwnd_) {
        delete bits;
        ADD_FAILURE() << "cannot create the pattern window";
        return;
    }
    ShowWindow(hwnd_, SW_SHOWNOACTIVATE);
    UpdateWindow(hwnd_);
}

PatternWindow::~PatternWindow() {
    if (hwnd_) DestroyWindow(hwnd_);
    PumpMessages();
}

bool PatternWindow::WaitShown(Millis limit) const {
    return WaitUntil(
        [] {
            Screenshot shot = CaptureScreen();
            if (shot.pixels.empty()) return false;
            const int xs[] = {0, shot.width / 3, shot.width / 2, shot.width - 1};
            const int ys[] = {0, shot.height / 4, shot.height / 2, shot.height - 1};
            for (int y : ys) {
                for (int x : xs) {
                    if (shot.at(x, y) != PatternColour(x, y)) return false;
                }
            }
            return true;
        },
        limit, 50ms);
}

// ---- input --------------------------------------------------------------------------------------

POINT CursorPos() {
    POINT p{};
    GetCursorPos(&p);
    return p;
}

void MoveCursorTo(int x, int y) {
    SetCursorPos(x, y);
    bool there = WaitUntil(
        [&] {
            POINT p = CursorPos();
            return p.x == x && p.y == y;
        },
        2s, 5ms);
    if (!there) {
        POINT p = CursorPos();
        ADD_FAILURE() << "pointer did not reach (" << x << ", " << y << "), it is at (" << p.x
                      << ", " << p.y << ")";
    }
}

void MoveCursorBy(int dx, int dy) {
    POINT p = CursorPos();
    MoveCursorTo(p.x + dx, p.y + dy);
}

void MouseButtonDown(DWORD button) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button;
    SendOne(in);
}

void MouseButtonUp(DWORD button) {
    // Each *UP flag is its *DOWN flag shifted left by one.
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dwFlags = button << 1;
    SendOne(in);
}

void Click(DWORD button) {
    MouseButtonDown(button);
    MouseButtonUp(button);
}

void KeyDown(WORD vk) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    SendOne(in);
}

void KeyUp(WORD vk) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = KEYEVENTF_KEYUP;
    SendOne(in);
}

HeldKey::HeldKey(WORD vk) : vk_(vk) {
    KeyDown(vk_);
}

HeldKey::~HeldKey() {
    Release();
}

void HeldKey::Release() {
    if (!down_) return;
    down_ = false;
    KeyUp(vk_);
}

// ---- resources ----------------------------------------------------------------------------------

ResourceFile::ResourceFile(const std::wstring& path) {
    module_ = LoadLibraryExW(path.c_str(), nullptr,
                             LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    if (!module_) {
        module_ = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    }
}

ResourceFile::~ResourceFile() {
    if (module_) FreeLibrary(module_);
}

std::optional<std::vector<std::uint8_t>> ResourceFile::Find(const wchar_t* type,
                                                            const wchar_t* name,
                                                            WORD language) const {
    if (!module_) return std::nullopt;
    HRSRC res = language == 0 ? FindResourceW(module_, name, type)
                              : FindResourceExW(module_, type, name, language);
    if (!res) return std::nullopt;
    HGLOBAL loaded = LoadResource(module_, res);
    DWORD size = SizeofResource(module_, res);
    const auto* data = static_cast<const std::uint8_t*>(LockResource(loaded));
    if (!data) return std::nullopt;
    return std::vector<std::uint8_t>(data, data + size);
}

std::vector<WORD> ResourceFile::Languages(const wchar_t* type, const wchar_t* name) const {
    std::vector<WORD> out;
    if (!module_) return out;
    EnumResourceLanguagesW(
        module_, type, name,
        [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR lp) -> BOOL {
            reinterpret_cast<std::vector<WORD>*>(lp)->push_back(language);
            return TRUE;
        },
        reinterpret_cast<LONG_PTR>(&out));
    return out;
}

// ---- fixture ------------------------------------------------------------------------------------

void ScrTest::SetUp() {
    ResetProgramRegistry();
    bool clear = WaitUntil(
        [] {
            return FindTopLevelWindows(L"", kDisplayClass).empty() &&
                   FindTopLevelWindows(L"", kConfigClass).empty() &&
                   FindTopLevelWindows(kDisplayTitle, L"").empty() &&
                   FindTopLevelWindows(kConfigTitle, L"").empty();
        },
        5s);
    ASSERT_TRUE(clear) << "a window of GloamDrift (or one with its title) is already open; "
                          "a left-over process from an earlier run?";
    ScreenSize screen = PrimaryScreen();
    centre_ = {screen.width / 2, screen.height / 2};
    MoveCursorTo(centre_.x, centre_.y);
}

void ScrTest::TearDown() {
    ResetProgramRegistry();
}

}  // namespace e2e
