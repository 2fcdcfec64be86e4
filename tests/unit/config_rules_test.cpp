#include "config/config_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/error.h"
#include "test_support.h"

namespace gloam {
namespace {

using testing_support::ExpectErrorNaming;

TEST(OptionMemberFor, EachIndexOfTheGroupNamesItsMember) {
    for (int32_t index = 0; index < kOptionCount; ++index) {
        EXPECT_EQ(OptionMemberFor(kSpeedKey, index), index);
        EXPECT_EQ(OptionMemberFor(kSizeKey, index), index);
    }
}

TEST(OptionMemberFor, AnIndexNamingNoMemberIsAnErrorNamingSettingAndValue) {
    struct Case {
        std::wstring_view key;
        int32_t index;
        const char* setting;
        const char* value;
    };
    const Case cases[] = {
        {kSpeedKey, -1, "\"Speed\"", "-1"},
        {kSizeKey, 3, "\"Size\"", "3"},
        {kSpeedKey, 5, "\"Speed\"", "5"},
        // Inside 16 bits but no member.
        {kSizeKey, 32767, "\"Size\"", "32767"},
        {kSizeKey, -32768, "\"Size\"", "-32768"},
        // Beyond 16 bits: the conversion fails first.
        {kSpeedKey, 32768, "\"Speed\"", "32768"},
        {kSizeKey, -32769, "\"Size\"", "-32769"},
        {kSpeedKey, 65536, "\"Speed\"", "65536"},  // would wrap to member 0 if truncated
        {kSizeKey, 65538, "\"Size\"", "65538"},    // would wrap to member 2
        {kSpeedKey, -2147483647 - 1, "\"Speed\"", "-2147483648"},
    };
    for (const Case& c : cases) {
        ExpectErrorNaming(c.value, [&] { OptionMemberFor(c.key, c.index); }, {c.setting, c.value});
    }
}

TEST(OptionMemberFor, SixteenBitOverflowIsToldApartFromAMissingMember) {
    ExpectErrorNaming("40000", [] { OptionMemberFor(kSpeedKey, 40000); }, {"16-bit"});
    try {
        OptionMemberFor(kSpeedKey, 4);
        ADD_FAILURE() << "no error";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(std::string(error.what()).find("16-bit"), std::string::npos) << error.what();
    }
}

struct ScanCase {
    OptionChecks speed;
    OptionChecks size;
    ConfigChoices expected;
};

class ChoicesFromTest : public testing::TestWithParam<ScanCase> {};

TEST_P(ChoicesFromTest, LastCheckedMemberWinsAndNoneCheckedGivesZero) {
    EXPECT_EQ(ChoicesFrom(GetParam().speed, GetParam().size), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(CheckMarks, ChoicesFromTest,
                         testing::Values(
                             // One checked member per group, as the dialog normally has it.
                             ScanCase{{true, false, false}, {false, false, true}, {0, 2}},
                             ScanCase{{false, true, false}, {false, true, false}, {1, 1}},
                             ScanCase{{false, false, true}, {true, false, false}, {2, 0}},
                             // The groups do not leak into each other.
                             ScanCase{{false, false, true}, {false, false, false}, {2, 0}},
                             ScanCase{{false, false, false}, {false, true, false}, {0, 1}},
                             // None checked.
                             ScanCase{{false, false, false}, {false, false, false}, {0, 0}},
                             // Several checked: the highest index wins.
                             ScanCase{{true, true, false}, {true, false, true}, {1, 2}},
                             ScanCase{{true, true, true}, {true, true, false}, {2, 1}}));

// Keeps every write in order; can be told to refuse one key.
class RecordingStore final : public SettingsStore {
  public:
    struct Entry {
        std::wstring app, section, key, text;
        bool operator==(const Entry&) const = default;
    };
    std::wstring Read(std::wstring_view, std::wstring_view, std::wstring_view,
                      std::wstring_view fallback) override {
        return std::wstring(fallback);
    }
    void Write(std::wstring_view app, std::wstring_view section, std::wstring_view key,
               std::wstring_view text) override {
        if (key == refused_key) throw RuntimeError("refused");
        writes.push_back(
            {std::wstring(app), std::wstring(section), std::wstring(key), std::wstring(text)});
    }
    std::vector<Entry> writes;
    std::wstring refused_key;
};

TEST(WriteChoices, WritesSpeedThenSizeAsDecimalTextUnderTheSettingsSection) {
    const ConfigChoices cases[] = {{0, 2}, {1, 1}, {2, 0}};
    for (const ConfigChoices& choices : cases) {
        RecordingStore store;
        WriteChoices(store, choices);
        const std::vector<RecordingStore::Entry> expected = {
            {L"GloamDriftSCR", L"Setting", L"Speed", std::to_wstring(choices.speed)},
            {L"GloamDriftSCR", L"Setting", L"Size", std::to_wstring(choices.size)},
        };
        EXPECT_EQ(store.writes, expected);
    }
}

TEST(WriteChoices, AFailingSizeWriteLeavesTheSpeedWrittenAndRaises) {
    RecordingStore store;
    store.refused_key = L"Size";
    EXPECT_THROW(WriteChoices(store, {2, 0}), RuntimeError);
    ASSERT_EQ(store.writes.size(), 1u);
    EXPECT_EQ(store.writes[0].key, L"Speed");
    EXPECT_EQ(store.writes[0].text, L"2");
}

TEST(WriteChoices, AFailingSpeedWriteWritesNothing) {
    RecordingStore store;
    store.refused_key = L"Speed";
    EXPECT_THROW(WriteChoices(store, {2, 0}), RuntimeError);
    EXPECT_TRUE(store.writes.empty());
}

}  // namespace
}  // namespace gloam
