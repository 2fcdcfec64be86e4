// End-to-end harness: drives the real GloamDrift.scr the way a host and a user would.
//
// Everything here is plain Win32 and runs in the test process, which shares the desktop, the
// registry and the input queue with the program under test (under Wine: the same prefix, the same
// wineserver and the same X display). Waits poll with a time limit and pump this thread's
// messages, so the test's own windows stay responsive while it waits. Every process and window
// made here is an RAII object that is killed or destroyed when the test ends, pass or fail.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace e2e {

using namespace std::chrono_literals;
using Millis = std::chrono::milliseconds;

inline constexpr wchar_t kDisplayTitle[] = L"Gloam Drift Screen Saver";
inline constexpr wchar_t kConfigTitle[] = L"Gloam Drift Screen Saver - \u8a2d\u5b9a";
inline constexpr wchar_t kDisplayClass[] = L"GloamDriftMain";
inline constexpr wchar_t kConfigClass[] = L"GloamDriftConfig";
inline constexpr wchar_t kPreviewClass[] = L"GloamDriftPreview";
inline constexpr wchar_t kMessageBoxClass[] = L"#32770";

// How long a start may take before its window shows, and how long an "end at once" may take.
// Generous because a cold Wine or a loaded CI machine can be slow; passing tests never wait them
// out.
inline constexpr Millis kStartLimit = 15s;
inline constexpr Millis kExitLimit = 10s;

// ---- text ---------------------------------------------------------------------------------------

std::string Narrow(std::wstring_view text);  // UTF-8, for assertion messages
bool ContainsNoCase(std::wstring_view haystack, std::wstring_view needle);
bool EqualsNoCase(std::wstring_view a, std::wstring_view b);

// ---- files --------------------------------------------------------------------------------------

// The .scr under test: $GLOAM_SCR when set, else GloamDrift.scr beside this test program (both sit
// in the build directory).
std::wstring ScrPath();
// The folder that holds it, without a trailing separator.
std::wstring ScrFolder();

// ---- waiting ------------------------------------------------------------------------------------

// Runs this thread's pending messages.
void PumpMessages();
// Pumps messages and re-evaluates `done` every `poll` until it is true (returns true) or `limit`
// has passed (returns false; `done` is evaluated one last time).
bool WaitUntil(const std::function<bool()>& done, Millis limit, Millis poll = 10ms);
// Pumps messages for `span`: for checks that something does NOT happen within a time.
void PumpFor(Millis span);

// The screen's twips per pixel (1440 / DPI) and a length in twips as whole pixels, to the
// nearest, halves to the even one.
double TwipsPerPixel();
int Px(double twips);

// ---- windows ------------------------------------------------------------------------------------

struct WindowInfo {
    HWND hwnd = nullptr;
    DWORD pid = 0;
    std::wstring title;
    std::wstring cls;
    LONG_PTR style = 0;
    LONG_PTR exStyle = 0;
    RECT rect{};
    bool visible = false;
};

WindowInfo DescribeWindow(HWND hwnd);
// Top-level windows of one process (all of them, hidden ones included).
std::vector<WindowInfo> TopLevelWindowsOf(DWORD pid);
// Top-level windows of any process whose title and class match; an empty filter matches any.
std::vector<WindowInfo> FindTopLevelWindows(std::wstring_view title, std::wstring_view cls);
// Every descendant window of `parent`, in the order the system walks them.
std::vector<HWND> ChildWindowsOf(HWND parent);
// Texts of the static controls of a dialog (a message box's message is one of them).
std::wstring DialogStaticText(HWND dialog);
// DialogStaticText once the dialog has filled it in, waiting up to `limit`; empty if it never does.
std::wstring WaitForDialogText(HWND dialog, Millis limit = 2s);
// Presses a dialog's button by its id (IDOK for a message box's OK) the way a click does.
void PressDialogButton(HWND dialog, int id);

// How a window's class cursor looks, judged inside the window's own process by
// gloam_e2e_probe.dll (placed there with a window hook): drawn over black and over white, does it
// change any pixel?
enum class CursorLook { NotProbed, NoClassCursor, Unreadable, Visible, Invisible };
const char* ToString(CursorLook look);
CursorLook ProbeClassCursor(HWND hwnd);

// ---- the program under test ---------------------------------------------------------------------

// One run of the .scr, started with CreateProcessW as the host starts it: the quoted path, then a
// blank and `args` unless `args` is empty. Terminated (and waited for) when destroyed.
class ScrProcess {
  public:
    explicit ScrProcess(std::wstring_view args, std::wstring scr = ScrPath());
    ~ScrProcess();
    ScrProcess(const ScrProcess&) = delete;
    ScrProcess& operator=(const ScrProcess&) = delete;

    DWORD pid() const { return pid_; }
    const std::wstring& commandLine() const { return commandLine_; }
    bool Running() const;
    // Waits (pumping messages) until the process has ended. True when it did within `limit`.
    bool WaitExit(Millis limit = kExitLimit);
    // The exit code once ended; nullopt while running.
    std::optional<DWORD> ExitCode() const;
    void Kill();

    // Top-level windows of this process.
    std::vector<WindowInfo> Windows() const;
    // The one top-level window of this process with that class (and title when given), waiting up
    // to `limit` for it to exist and be visible. Nullopt when none appears in time.
    std::optional<WindowInfo> WaitForVisibleWindow(std::wstring_view cls, std::wstring_view title,
                                                   Millis limit = kStartLimit);

    // Classes of every window of this process seen visible so far by Observe() (top level).
    const std::set<std::wstring>& SeenVisibleClasses() const { return seenVisible_; }
    // Records the classes of this process's visible top-level windows right now.
    void Observe();
    // Waits for the end like WaitExit, observing the process's windows every few milliseconds.
    bool WaitExitObserving(Millis limit = kExitLimit);

  private:
    std::wstring commandLine_;
    HANDLE process_ = nullptr;
    DWORD pid_ = 0;
    std::set<std::wstring> seenVisible_;
};

// ---- registry (HKEY_CURRENT_USER) ---------------------------------------------------------------

inline constexpr wchar_t kSettingsRoot[] = L"Software\\GloamDriftSCR";
inline constexpr wchar_t kSettingsKey[] = L"Software\\GloamDriftSCR\\Setting";
inline constexpr wchar_t kInstallRoot[] = L"Software\\Gloam Drift SCR";
inline constexpr wchar_t kInstallKey[] = L"Software\\Gloam Drift SCR\\UpdateInfo";

// The REG_SZ value, nullopt when the key or value is absent. Fails the test on other types.
std::optional<std::wstring> ReadRegString(const wchar_t* subkey, const wchar_t* name);
void WriteRegString(const wchar_t* subkey, const wchar_t* name, std::wstring_view value);
// Deletes a key with everything below it; absent is fine.
void DeleteRegTree(const wchar_t* subkey);
// Both of the program's keys gone: the state of a machine where it never ran.
void ResetProgramRegistry();

// ---- screen -------------------------------------------------------------------------------------

struct ScreenSize {
    int width = 0;
    int height = 0;
};
ScreenSize PrimaryScreen();

// Pixels as 0x00RRGGBB, top-down.
struct Screenshot {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t at(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
    // Share of pixels (0..1) equal to `colour`.
    double ShareOf(std::uint32_t colour) const;
};
// What the primary screen shows now (GetDC(NULL) + BitBlt into a 32-bit DIB).
Screenshot CaptureScreen();

// The colour that PatternWindow paints at (x, y): distinct per 8x8 cell, never black or white.
std::uint32_t PatternColour(int x, int y);

// ---- the test's own windows ---------------------------------------------------------------------

// A hidden top-level window of the test process with the given title (for the single-instance
// test, which looks windows up by title whatever their class).
class TitledWindow {
  public:
    explicit TitledWindow(std::wstring_view title);
    ~TitledWindow();
    TitledWindow(const TitledWindow&) = delete;
    TitledWindow& operator=(const TitledWindow&) = delete;
    HWND hwnd() const { return hwnd_; }

  private:
    HWND hwnd_ = nullptr;
};

// A full-screen window of the test process painted with PatternColour, so that what the program
// captures and shows can be told apart from black. Shown without activation, not topmost.
class PatternWindow {
  public:
    PatternWindow();
    ~PatternWindow();
    PatternWindow(const PatternWindow&) = delete;
    PatternWindow& operator=(const PatternWindow&) = delete;
    HWND hwnd() const { return hwnd_; }
    // Waits until the screen shows the pattern.
    bool WaitShown(Millis limit = 5s) const;

  private:
    HWND hwnd_ = nullptr;
};

// ---- input --------------------------------------------------------------------------------------

POINT CursorPos();
// Puts the pointer at (x, y) and waits until the system reports it there.
void MoveCursorTo(int x, int y);
void MoveCursorBy(int dx, int dy);
// Mouse button press and release at the pointer, without moving it. `button` is one of
// MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_MIDDLEDOWN.
void MouseButtonDown(DWORD button);
void MouseButtonUp(DWORD button);
void Click(DWORD button = MOUSEEVENTF_LEFTDOWN);
void KeyDown(WORD vk);
void KeyUp(WORD vk);

// Releases, on destruction, a key pressed through it: a failing test never leaves a key held.
class HeldKey {
  public:
    explicit HeldKey(WORD vk);
    ~HeldKey();
    HeldKey(const HeldKey&) = delete;
    HeldKey& operator=(const HeldKey&) = delete;
    void Release();

  private:
    WORD vk_;
    bool down_ = true;
};

// ---- resources of the .scr ----------------------------------------------------------------------

// The .scr loaded as a data file (no code runs); freed on destruction.
class ResourceFile {
  public:
    explicit ResourceFile(const std::wstring& path = ScrPath());
    ~ResourceFile();
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    bool loaded() const { return module_ != nullptr; }
    // The raw bytes of one resource, nullopt when absent. Language 0 means any.
    std::optional<std::vector<std::uint8_t>> Find(const wchar_t* type, const wchar_t* name,
                                                  WORD language = 0) const;
    // The languages in which that resource exists.
    std::vector<WORD> Languages(const wchar_t* type, const wchar_t* name) const;

  private:
    HMODULE module_ = nullptr;
};

// Names parameterised cases "case0", "case1", ... for ctest's list.
struct CaseIndex {
    template <typename P>
    std::string operator()(const ::testing::TestParamInfo<P>& param) const {
        return "case" + std::to_string(param.index);
    }
};

// ---- fixture ------------------------------------------------------------------------------------

// Every test starts from a machine where the program never ran: no registry keys of its own, no
// window of it anywhere, the pointer resting at the centre of the screen.
class ScrTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    POINT centre_{};
};

}  // namespace e2e
