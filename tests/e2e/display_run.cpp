#include "display_run.h"

#include "registry.h"

namespace e2e {

void DisplayRunTest::StartDisplay(const wchar_t* speed, const wchar_t* size) {
    if (speed && size) WriteSettings(speed, size);
    scr_ = std::make_unique<ScrProcess>(L"/S");
    display_ = scr_->WaitForVisibleWindow(kDisplayClass, kDisplayTitle);
    ASSERT_TRUE(display_.has_value()) << "the display window never showed";
    PumpFor(100ms);
    ASSERT_TRUE(scr_->Running()) << "the display ended on its own";
}

void DisplayRunTest::ExpectStillRunning(const std::string& after) {
    PumpFor(kStaysFor);
    EXPECT_TRUE(scr_->Running()) << "the display ended after " << after;
}

void DisplayRunTest::ExpectEndedNormally(const std::string& after) {
    ASSERT_TRUE(scr_->WaitExit()) << "the display is still running after " << after;
    EXPECT_EQ(scr_->ExitCode(), std::optional<DWORD>(0)) << "after " << after;
    EXPECT_TRUE(FindTopLevelWindows(kDisplayTitle, kDisplayClass).empty());
    EXPECT_TRUE(FindTopLevelWindows(L"", kCoverClass).empty());
}

void DisplayRunTest::TearDown() {
    scr_.reset();
    ScrTest::TearDown();
}

}  // namespace e2e
