// The machine the tests run on: Wine or Windows, the monitors and the DPI.
//
// Under Wine the tests run inside a private X server with one RandR output per monitor (see
// cmake/wine-run.sh): outputs DUMMY0 (the primary) to DUMMY3. MonitorLayout arranges them with
// xrandr, which the test starts as a Unix program from inside Wine; Wine reports each enabled
// output as a monitor, the primary's top-left at (0, 0).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "no_copy.h"
#include "wait.h"

namespace e2e {

bool UnderWine();
// A 32-bit test program under Wine whose 32-bit code the machine runs through qemu-i386 (a kernel
// without IA-32 support; scripts/setup.sh registers qemu with binfmt_misc).
bool UnderEmulated32BitWine();

// Starts a Unix program from inside Wine (a command line whose program is a Unix path). Wine gives
// no handle to wait on for it: the caller waits for what the program does.
bool StartUnix(std::wstring command_line);
// Runs a Unix shell command (no double quotes in it) to its end, for at most `limit`: the shell
// leaves the command's exit status in a file under /tmp, which the test waits for. Nullopt when it
// could not start or did not end in time.
std::optional<int> RunUnix(const std::wstring& command, Millis limit = 10s);

struct ScreenSize {
    int width = 0;
    int height = 0;
};
// The primary monitor's size in pixels.
ScreenSize PrimaryScreen();
// The bounding rectangle of all monitors.
RECT VirtualScreen();

// The monitors as Windows reports them (GetMonitorInfo's rcMonitor), ordered by left, then top.
std::vector<RECT> MonitorRects();

// The screen's twips per pixel (1440 / DPI) and a length in twips as whole pixels, to the nearest,
// halves to the even one, at the DPI of this process or at `dpi`.
double TwipsPerPixel();
int Px(double twips);
int PxAt(double twips, int dpi);

// A monitor in virtual-screen pixels.
struct Monitor {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    RECT Rect() const { return RECT{left, top, left + width, top + height}; }
};

// The X server's outputs arranged as `monitors` (the first is the primary and must lie at (0, 0))
// for as long as the object lives; then the single 1024 x 768 monitor the X server starts with.
// Applied() is false when the arrangement could not be made (not under Wine, or xrandr refused);
// the reason is in Failure().
class MonitorLayout : NoCopy {
  public:
    explicit MonitorLayout(std::vector<Monitor> monitors);
    ~MonitorLayout();

    bool Applied() const { return failure_.empty(); }
    const std::string& Failure() const { return failure_; }

  private:
    std::string failure_;
};

// Arranges the X server's outputs as `monitors` and waits until Windows reports them. Returns
// the reason when it could not.
std::optional<std::string> ArrangeMonitors(const std::vector<Monitor>& monitors);

// The single monitor the X server starts with.
std::vector<Monitor> DefaultMonitors();

// HKCU\Control Panel\Desktop LogPixels for the processes started while the object lives; the
// earlier value comes back afterwards. Under Wine every process started later runs at that DPI
// (this test process keeps the DPI it started with).
class LogPixels : NoCopy {
  public:
    explicit LogPixels(DWORD dpi);
    ~LogPixels();

  private:
    std::optional<DWORD> previous_;
};

}  // namespace e2e
