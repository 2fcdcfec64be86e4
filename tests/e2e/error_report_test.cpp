// Stored settings that cannot be used stop the program with its error report: a message box that
// names the setting and the stored text, no display window, exit code 1 once the user presses OK.
#include "harness.h"

namespace e2e {
namespace {

struct BadSetting {
    const char* name;
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

    // In front of the windows already on the screen.
    PatternWindow desktop;
    ASSERT_TRUE(desktop.WaitShown());
    ScrProcess scr(L"/S");
    ExpectReportOnly(AwaitErrorReport(scr), scr, {bad.named, bad.value});
}

INSTANTIATE_TEST_SUITE_P(
    Settings, ErrorReport,
    ::testing::Values(BadSetting{"speed_3", L"3", nullptr, L"Speed", L"3"},
                      BadSetting{"speed_minus_1", L"-1", nullptr, L"Speed", L"-1"},
                      BadSetting{"speed_1E10", L"1E10", nullptr, L"Speed", L"1E10"},
                      BadSetting{"speed_below_32_bits", L"-2147483649", L"1", L"Speed",
                                 L"-2147483649"},
                      BadSetting{"size_5", nullptr, L"5", L"Size", L"5"},
                      BadSetting{"size_1e10", L"1", L"1e10", L"Size", L"1e10"},
                      // The speed is mapped first: a bad speed is reported whatever the size.
                      BadSetting{"speed_3_before_size_5", L"3", L"5", L"Speed", L"3"}),
    ByName());

// Texts that the leading-number parse turns into an index from 0 to 2 start the display.
struct GoodSetting {
    const char* name;
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
                         ::testing::Values(GoodSetting{"plain", L"0", L"2"},
                                           GoodSetting{"no_number", L"", L"abc"},
                                           GoodSetting{"blank_and_tail", L" 2", L"2abc"},
                                           GoodSetting{"point_and_comma", L"1.5", L"2,9"},
                                           GoodSetting{"halves_to_even", L"2.5", L"0.5"}),
                         ByName());

}  // namespace
}  // namespace e2e
