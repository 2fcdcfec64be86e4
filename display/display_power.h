// The state of the display as the system reports it in a power-setting change, and what the frame
// loop does in each.
//
// The report arrives as the bytes of a power-setting record: the setting's GUID (16 bytes, its
// first three fields little-endian), the length of the data (32 bits, little-endian), then the
// data. For the console display's state the data is one 32-bit value: 0 off, 1 on, 2 dimmed.
// Anything else (another setting, another length, another value, fewer bytes than the record
// needs) is no report at all and changes nothing.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>

namespace gloam {

enum class DisplayPower : uint32_t { Off = 0, On = 1, Dimmed = 2 };

// The setting's GUID in the order its bytes lie in memory.
using SettingGuid = std::array<unsigned char, 16>;

// {6FE69556-704A-47A0-8F24-C28D936FDA47}: the console display's state.
inline constexpr SettingGuid kConsoleDisplayState{0x56, 0x95, 0xE6, 0x6F, 0x4A, 0x70, 0xA0, 0x47,
                                                  0x8F, 0x24, 0xC2, 0x8D, 0x93, 0x6F, 0xDA, 0x47};

// Bytes of the record before the data, and the whole record for the display's state.
inline constexpr size_t kSettingHeaderBytes = 16 + 4;
inline constexpr size_t kDisplayStateRecordBytes = kSettingHeaderBytes + 4;

// The display's state that `record` reports, or nothing when it is not a well-formed report of it.
// `record` holds the bytes that can be read where the record starts (more than it needs is fine).
std::optional<DisplayPower> ReadDisplayPower(std::span<const unsigned char> record);

// Whether frames are drawn in that state. A dimmed display still shows the picture, at a lower
// brightness, and the user may be looking at it: a spot that froze there would look like a hang,
// so frames go on until the display is really off.
constexpr bool DrawsFrames(DisplayPower power) {
    return power != DisplayPower::Off;
}

}  // namespace gloam
