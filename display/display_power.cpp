#include "display/display_power.h"

#include <algorithm>

namespace gloam {
namespace {

uint32_t LittleEndian32(std::span<const unsigned char> bytes) {
    return static_cast<uint32_t>(bytes[0]) | static_cast<uint32_t>(bytes[1]) << 8 |
           static_cast<uint32_t>(bytes[2]) << 16 | static_cast<uint32_t>(bytes[3]) << 24;
}

}  // namespace

std::optional<DisplayPower> ReadDisplayPower(std::span<const unsigned char> record) {
    if (record.size() < kDisplayStateRecordBytes) return std::nullopt;
    if (!std::equal(kConsoleDisplayState.begin(), kConsoleDisplayState.end(), record.begin())) {
        return std::nullopt;
    }
    if (LittleEndian32(record.subspan(16, 4)) != 4) return std::nullopt;
    switch (LittleEndian32(record.subspan(kSettingHeaderBytes, 4))) {
        case 0:
            return DisplayPower::Off;
        case 1:
            return DisplayPower::On;
        case 2:
            return DisplayPower::Dimmed;
        default:
            return std::nullopt;
    }
}

}  // namespace gloam
