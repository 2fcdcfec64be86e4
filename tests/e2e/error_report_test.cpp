// Stored settings that cannot be used stop the program with its error report: a message box that
// names the setting and the stored text, no display window, exit code 1 once the user presses OK.
#include "harness.h"

namespace e2e {
namespace {

struct BadSetting {
    const wchar_t* speed;  // nullptr: not stored
    const wchar_t* size;
    const wchar_t* named;  // the setting the report is about
    const wchar_t* value;  // its stored text, which the report quotes
};

void PrintStored(const char* key, const wchar_t* text, std::ostream* os) {
    *os << key << ' ';
    if (text) {
        *os << '"' << Narrow(text) << '"';
    } else {
        *os << "absent";
    }
}

void PrintTo(const BadSetting& b, std::ostream* os) {
    PrintStored("Speed", b.speed, os);
    *os << ", ";
    PrintStored("Size", b.size, os);
}

class ErrorReport : public ScrTest, public ::testing::WithParamInterface<BadSetting> {};

TEST_P(ErrorReport, NamesTheValueAndShowsNoDisplay) {
    const BadSetting bad = GetParam();
    if (bad.speed) WriteRegString(kSettingsKey, L"Speed", bad.speed);
    if (bad.size) WriteRegString(kSettingsKey, L"Size", bad.size);

    PatternWindow desktop;
    ASSERT_TRUE(desktop.WaitShown());
    ScrProcess scr(L"/S");
    std::optional<WindowInfo> box = scr.WaitForVisibleWindow(kMessageBoxClass, L"");
    ASSERT_TRUE(box.has_value()) << "no message box; the program "
                                 << (scr.Running() ? "is still running" : "ended");
    EXPECT_EQ(Narrow(box->title), Narrow(kDisplayTitle));
    // In front of the windows already on the screen.
    POINT middle{(box->rect.left + box->rect.right) / 2, (box->rect.top + box->rect.bottom) / 2};
    EXPECT_EQ(GetAncestor(WindowFromPoint(middle), GA_ROOT), box->hwnd)
        << "the report is covered by another window";

    const std::wstring text = WaitForDialogText(box->hwnd);
    EXPECT_TRUE(ContainsNoCase(text, bad.named)) << "report: " << Narrow(text);
    EXPECT_TRUE(ContainsNoCase(text, bad.value)) << "report: " << Narrow(text);

    // The report stays until it is answered.
    PumpFor(300ms);
    scr.Observe();
    ASSERT_TRUE(scr.Running()) << "ended before the report was answered";
    EXPECT_EQ(scr.SeenVisibleClasses().count(kDisplayClass), 0u) << "the display window showed";
    EXPECT_EQ(scr.SeenVisibleClasses().size(), 1u) << "another window showed beside the report";

    PressDialogButton(box->hwnd, IDOK);
    ASSERT_TRUE(scr.WaitExitObserving()) << "still running after OK";
    EXPECT_EQ(scr.ExitCode(), std::optional<DWORD>(1));
    EXPECT_EQ(scr.SeenVisibleClasses().count(kDisplayClass), 0u) << "the display window showed";
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ErrorReport,
    ::testing::Values(BadSetting{L"3", nullptr, L"Speed", L"3"},
                      BadSetting{L"-1", nullptr, L"Speed", L"-1"},
                      BadSetting{L"1E10", nullptr, L"Speed", L"1E10"},
                      BadSetting{L"-2147483649", L"1", L"Speed", L"-2147483649"},
                      BadSetting{nullptr, L"5", L"Size", L"5"},
                      BadSetting{L"1", L"1e10", L"Size", L"1e10"},
                      // The speed is mapped first: a bad speed is reported whatever the size.
                      BadSetting{L"3", L"5", L"Speed", L"3"}),
    CaseIndex());

// Texts that the leading-number parse turns into an index from 0 to 2 start the display.
struct GoodSetting {
    const wchar_t* speed;
    const wchar_t* size;
};

void PrintTo(const GoodSetting& g, std::ostream* os) {
    *os << "Speed \"" << Narrow(g.speed) << "\", Size \"" << Narrow(g.size) << "\"";
}

class UsableSetting : public ScrTest, public ::testing::WithParamInterface<GoodSetting> {};

TEST_P(UsableSetting, StartsTheDisplay) {
    WriteRegString(kSettingsKey, L"Speed", GetParam().speed);
    WriteRegString(kSettingsKey, L"Size", GetParam().size);
    ScrProcess scr(L"/S");
    auto shown = scr.WaitForVisibleWindow(kDisplayClass, kDisplayTitle);
    EXPECT_TRUE(shown.has_value()) << "speed \"" << Narrow(GetParam().speed) << "\", size \""
                                   << Narrow(GetParam().size) << "\"";
    scr.Observe();
    EXPECT_EQ(scr.SeenVisibleClasses().count(kMessageBoxClass), 0u);
}

INSTANTIATE_TEST_SUITE_P(Settings, UsableSetting,
                         ::testing::Values(GoodSetting{L"0", L"2"}, GoodSetting{L"", L"abc"},
                                           GoodSetting{L" 2", L"2abc"}, GoodSetting{L"1.5", L"2,9"},
                                           GoodSetting{L"2.5", L"0.5"}),
                         CaseIndex());

}  // namespace
}  // namespace e2e
