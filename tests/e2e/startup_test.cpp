// Start-up as the host sees it: the install record, the switches that show nothing, and the
// refusal to start beside an open display window or settings dialog.
#include "harness.h"

namespace e2e {
namespace {

constexpr wchar_t kVersionText[] = L"1.01.0000";

// Stale values, so that a test sees the record rewritten rather than left from an earlier run.
void SeedStaleInstallRecord() {
    WriteRegString(kInstallKey, L"ApplicationPath", L"C:\\Somewhere\\Else");
    WriteRegString(kInstallKey, L"CurrentVersion", L"0.99.0001");
}

void ExpectInstallRecord() {
    auto path = ReadRegString(kInstallKey, L"ApplicationPath");
    ASSERT_TRUE(path.has_value()) << "no ApplicationPath under HKCU\\" << Narrow(kInstallKey);
    EXPECT_TRUE(EqualsNoCase(*path, ScrFolder()))
        << "ApplicationPath is \"" << Narrow(*path) << "\", the .scr lies in \""
        << Narrow(ScrFolder()) << "\"";
    EXPECT_NE(path->back(), L'\\') << "ApplicationPath ends in a separator";
    auto version = ReadRegString(kInstallKey, L"CurrentVersion");
    ASSERT_TRUE(version.has_value()) << "no CurrentVersion under HKCU\\" << Narrow(kInstallKey);
    EXPECT_EQ(Narrow(*version), Narrow(kVersionText));
    // A start reads the settings but never writes them.
    EXPECT_FALSE(ReadRegString(kSettingsKey, L"Speed").has_value());
    EXPECT_FALSE(ReadRegString(kSettingsKey, L"Size").has_value());
}

using InstallRecord = ScrTest;

TEST_F(InstallRecord, WrittenByADisplayStart) {
    SeedStaleInstallRecord();
    ScrProcess scr(L"/S");
    ASSERT_TRUE(scr.WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value());
    ExpectInstallRecord();
}

TEST_F(InstallRecord, WrittenByARefusedStart) {
    TitledWindow other(kDisplayTitle);
    SeedStaleInstallRecord();
    ScrProcess scr(L"/S");
    ExpectEndsAtOnceShowingNothing(scr);
    ExpectInstallRecord();
}

TEST_F(InstallRecord, WrittenByAStartWithAnUnknownSwitch) {
    SeedStaleInstallRecord();
    ScrProcess scr(L"-s");
    ExpectEndsAtOnceShowingNothing(scr);
    ExpectInstallRecord();
}

// Command texts whose first two characters, upper-cased, are none of /S, /C, /P.
class UnknownSwitch : public ScrTest, public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(UnknownSwitch, EndsWithoutAWindow) {
    ScrProcess scr(GetParam());
    ExpectEndsAtOnceShowingNothing(scr);
}

INSTANTIATE_TEST_SUITE_P(Startup, UnknownSwitch,
                         ::testing::Values(L"-s", L"s", L"/a", L"/", L"S/", L"/X /S"),
                         ByCommandText());

// A window of any class carrying one of the two titles makes every start end at once.
struct RefusalCase {
    const wchar_t* title;
    const wchar_t* args;
};

void PrintTo(const RefusalCase& c, std::ostream* os) {
    *os << (c.title == kDisplayTitle ? "display" : "settings") << " title open, start \""
        << Narrow(c.args) << "\"";
}

std::string RefusalName(const ::testing::TestParamInfo<RefusalCase>& param) {
    return std::string(param.param.title == kDisplayTitle ? "display_open" : "dialog_open") +
           "_start_" + CommandName(param.param.args);
}

class SingleInstance : public ScrTest, public ::testing::WithParamInterface<RefusalCase> {};

TEST_P(SingleInstance, AWindowWithTheTitleRefusesTheStart) {
    TitledWindow other(GetParam().title);
    ScrProcess scr(GetParam().args);
    ExpectEndsAtOnceShowingNothing(scr);
}

INSTANTIATE_TEST_SUITE_P(
    Startup, SingleInstance,
    ::testing::Values(RefusalCase{kDisplayTitle, L"/S"}, RefusalCase{kDisplayTitle, L""},
                      RefusalCase{kDisplayTitle, L"/c"}, RefusalCase{kDisplayTitle, L"/P 1234"},
                      RefusalCase{kConfigTitle, L"/S"}, RefusalCase{kConfigTitle, L""},
                      RefusalCase{kConfigTitle, L"/C"}, RefusalCase{kConfigTitle, L"/p 1234"}),
    RefusalName);

// The program's own display window refuses a second start, whatever its switch.
class BesideRunningDisplay : public ScrTest,
                             public ::testing::WithParamInterface<const wchar_t*> {};

TEST_P(BesideRunningDisplay, SecondStartEndsAtOnce) {
    ScrProcess first(L"/S");
    ASSERT_TRUE(first.WaitForVisibleWindow(kDisplayClass, kDisplayTitle).has_value());
    ScrProcess second(GetParam());
    ExpectEndsAtOnceShowingNothing(second);
    EXPECT_TRUE(first.Running()) << "the first display ended";
    EXPECT_EQ(FindTopLevelWindows(kDisplayTitle, kDisplayClass).size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(Startup, BesideRunningDisplay,
                         ::testing::Values(L"/S", L"", L"/C", L"/P 1234"), ByCommandText());

}  // namespace
}  // namespace e2e
