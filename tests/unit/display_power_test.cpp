#include "display/display_power.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "test_support.h"

namespace gloam {
namespace {

using testing_support::ByName;

// A record laid out byte by byte as the system writes it, independently of the reader.
std::vector<unsigned char> Record(const SettingGuid& guid, uint32_t length,
                                  std::vector<unsigned char> data) {
    std::vector<unsigned char> bytes(guid.begin(), guid.end());
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back((length >> shift) & 0xFF);
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

// {02731015-4510-4526-99E6-E5A17EBD1AEA}: the monitor's power, another setting whose data is the
// same 0 or 1.
constexpr SettingGuid kMonitorPowerOn{0x15, 0x10, 0x73, 0x02, 0x10, 0x45, 0x26, 0x45,
                                      0x99, 0xE6, 0xE5, 0xA1, 0x7E, 0xBD, 0x1A, 0xEA};

// The display's GUID with its first field in the wrong byte order.
constexpr SettingGuid kBigEndianDisplayState{0x6F, 0xE6, 0x95, 0x56, 0x70, 0x4A, 0x47, 0xA0,
                                             0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};

struct RecordCase {
    const char* name;
    std::vector<unsigned char> bytes;
    std::optional<DisplayPower> expected;
};

void PrintTo(const RecordCase& c, std::ostream* out) {
    *out << c.name;
}

std::vector<unsigned char> Cut(std::vector<unsigned char> bytes, size_t size) {
    bytes.resize(size);
    return bytes;
}

const std::vector<unsigned char> kOff = Record(kConsoleDisplayState, 4, {0, 0, 0, 0});

class ReadDisplayPowerTest : public testing::TestWithParam<RecordCase> {};

TEST_P(ReadDisplayPowerTest, ReadsOnlyAWellFormedReport) {
    EXPECT_EQ(ReadDisplayPower(GetParam().bytes), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    DisplayPower, ReadDisplayPowerTest,
    testing::Values(
        RecordCase{"Off", kOff, DisplayPower::Off},
        RecordCase{"On", Record(kConsoleDisplayState, 4, {1, 0, 0, 0}), DisplayPower::On},
        RecordCase{"Dimmed", Record(kConsoleDisplayState, 4, {2, 0, 0, 0}), DisplayPower::Dimmed},
        // More readable bytes than the record needs (the rest of a page) change nothing.
        RecordCase{"OffWithBytesAfter", Record(kConsoleDisplayState, 4, {0, 0, 0, 0, 1, 1}),
                   DisplayPower::Off},
        RecordCase{"ValueThree", Record(kConsoleDisplayState, 4, {3, 0, 0, 0}), std::nullopt},
        // The value is 32 bits wide: a high byte makes it another value, not "on".
        RecordCase{"OnWithHighByte", Record(kConsoleDisplayState, 4, {1, 0, 0, 1}), std::nullopt},
        RecordCase{"AllOnes", Record(kConsoleDisplayState, 4, {0xFF, 0xFF, 0xFF, 0xFF}),
                   std::nullopt},
        RecordCase{"LengthOne", Record(kConsoleDisplayState, 1, {1, 0, 0, 0}), std::nullopt},
        RecordCase{"LengthZero", Record(kConsoleDisplayState, 0, {0, 0, 0, 0}), std::nullopt},
        RecordCase{"LengthEight", Record(kConsoleDisplayState, 8, {1, 0, 0, 0, 0, 0, 0, 0}),
                   std::nullopt},
        RecordCase{"LengthBigEndian", Record(kConsoleDisplayState, 0x04000000, {1, 0, 0, 0}),
                   std::nullopt},
        RecordCase{"MonitorPowerSetting", Record(kMonitorPowerOn, 4, {0, 0, 0, 0}), std::nullopt},
        RecordCase{"GuidInWrongByteOrder", Record(kBigEndianDisplayState, 4, {0, 0, 0, 0}),
                   std::nullopt},
        RecordCase{"LastGuidByteDiffers",
                   [] {
                       std::vector<unsigned char> bytes = kOff;
                       bytes[15] ^= 1;
                       return bytes;
                   }(),
                   std::nullopt},
        // Fewer bytes readable than the record needs: the value, or part of it, is missing.
        RecordCase{"CutInTheValue", Cut(kOff, 23), std::nullopt},
        RecordCase{"CutAfterTheLength", Cut(kOff, 20), std::nullopt},
        RecordCase{"CutInTheGuid", Cut(kOff, 10), std::nullopt},
        RecordCase{"Empty", {}, std::nullopt}),
    ByName());

}  // namespace
}  // namespace gloam
