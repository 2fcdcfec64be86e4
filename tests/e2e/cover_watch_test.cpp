// The covers of the other monitors stay over them, above every other window, for the whole run:
// once a second the display puts back a cover that another program's topmost window has risen
// above or that was moved (as Windows may move windows after a monitor change), and leaves a cover
// alone while nothing changed.
#include <memory>
#include <optional>
#include <string>

#include "display_run.h"
#include "harness.h"

namespace e2e {
namespace {

constexpr RECT kSecond{1024, 0, 1824, 600};  // an 800 x 600 monitor right of the primary

// A topmost window of the test, painted white.
class TopmostWindow : NoCopy {
  public:
    explicit TopmostWindow(const RECT& area) {
        const wchar_t* cls = RegisterTestClass(L"GloamE2ETopmost", DefWindowProcW);
        hwnd_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, cls,
                                    L"GloamDrift e2e topmost", WS_POPUP, area.left, area.top,
                                    area.right - area.left, area.bottom - area.top, nullptr,
                                    nullptr, GetModuleHandleW(nullptr), nullptr));
        SetClassLongPtrW(hwnd_.get(), GCLP_HBRBACKGROUND,
                         reinterpret_cast<LONG_PTR>(GetStockObject(WHITE_BRUSH)));
        SetWindowPos(hwnd_.get(), HWND_TOPMOST, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(hwnd_.get());
    }
    HWND hwnd() const { return hwnd_.get(); }

  private:
    gloam::unique_hwnd hwnd_;
};

POINT Middle(const RECT& r) {
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

RECT RectOf(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

bool Same(const RECT& a, const RECT& b) {
    return EqualRect(&a, &b) != FALSE;
}

class CoverWatch : public DisplayRunTest {
  protected:
    // Two monitors, the display started, and its cover over the second one.
    void StartWithACover() {
        if (!UnderWine()) GTEST_SKIP() << "only the tests' own X server can arrange monitors";
        layout_ = std::make_unique<MonitorLayout>(
            std::vector<Monitor>{{0, 0, 1024, 768}, {1024, 0, 800, 600}});
        ASSERT_TRUE(layout_->Applied()) << layout_->Failure();
        MoveCursorTo(centre_.x, centre_.y);
        ASSERT_NO_FATAL_FAILURE(StartDisplay(L"1", L"1"));
        ASSERT_TRUE(WaitUntil(
            [&] {
                for (const WindowInfo& w : scr_->Windows()) {
                    if (w.cls == kCoverClass && w.visible && Same(w.rect, kSecond)) {
                        cover_ = w.hwnd;
                        return true;
                    }
                }
                return false;
            },
            5s))
            << "no cover over the second monitor";
        ASSERT_TRUE(WaitUntil([] { return ShareOf(CaptureScreen(kSecond), 0) == 1.0; }, 5s, 50ms))
            << "the second monitor is not black";
    }

    void TearDown() override {
        DisplayRunTest::TearDown();
        layout_.reset();
    }

    // Waits until the cover is back over its monitor, above everything, and the monitor black:
    // the display looks once a second, and a loaded machine may hold its timer back a while.
    bool WaitCoverBack() {
        return WaitUntil(
            [&] {
                return Same(RectOf(cover_), kSecond) &&
                       WindowFromPoint(Middle(kSecond)) == cover_ &&
                       ShareOf(CaptureScreen(kSecond), 0) == 1.0;
            },
            5s, 50ms);
    }

    std::unique_ptr<MonitorLayout> layout_;
    HWND cover_ = nullptr;
};

TEST_F(CoverWatch, RisenAboveIsPutBack) {
    ASSERT_NO_FATAL_FAILURE(StartWithACover());
    const TopmostWindow other({1200, 100, 1500, 400});
    ASSERT_EQ(WindowFromPoint(POINT{1350, 250}), other.hwnd()) << "the test's window is not above";
    EXPECT_TRUE(WaitCoverBack()) << "the cover stayed under another program's topmost window";
    EXPECT_TRUE(scr_->Running());
}

TEST_F(CoverWatch, MovedIsPutBack) {
    ASSERT_NO_FATAL_FAILURE(StartWithACover());
    SetWindowPos(cover_, nullptr, kSecond.left + 200, kSecond.top + 150, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ASSERT_FALSE(Same(RectOf(cover_), kSecond)) << "the cover could not be moved";
    EXPECT_TRUE(WaitCoverBack()) << "the cover stayed where it was moved";
    EXPECT_TRUE(scr_->Running());
}

// While nothing changes, the same cover stays where it is, and the monitor black, every moment.
TEST_F(CoverWatch, UntouchedStaysPut) {
    ASSERT_NO_FATAL_FAILURE(StartWithACover());
    std::string change;
    WaitUntil(
        [&] {
            if (!IsWindow(cover_) || !IsWindowVisible(cover_)) {
                change = "the cover went";
            } else if (!Same(RectOf(cover_), kSecond)) {
                change = "the cover moved";
            } else if (ShareOf(CaptureScreen(kSecond), 0) != 1.0) {
                change = "the second monitor showed something";
            }
            return !change.empty();
        },
        3s, 20ms);
    EXPECT_TRUE(change.empty()) << change;
    EXPECT_TRUE(scr_->Running());
}

}  // namespace
}  // namespace e2e
