// The settings dialog's rules that need no window: which option button a stored index checks
// when frmConfig loads, which index a group's check marks give back on OK, and the order in
// which SaveSettings writes. optSpeed and optSize each have kOptionCount members, index 0..2.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "platform/settings_store.h"

namespace gloam {

inline constexpr int32_t kOptionCount = 3;

// Form_Load's lookup: the stored index converted to a 16-bit index, which must name a member of
// the group. Raises a RuntimeError naming the setting (`key`) and the value otherwise.
int32_t OptionMemberFor(std::wstring_view key, int32_t stored_index);

// Check marks of one option group, by member index.
using OptionChecks = std::array<bool, kOptionCount>;

struct ConfigChoices {
    int32_t speed = 0;
    int32_t size = 0;
    friend bool operator==(const ConfigChoices&, const ConfigChoices&) = default;
};

// SaveSettings' scan: the last checked member of each group wins; a group with none checked
// gives 0.
ConfigChoices ChoicesFrom(const OptionChecks& speed, const OptionChecks& size);

// Writes "Speed", then "Size", both every time. A failing write raises the store's error; a
// speed already written stays written.
void WriteChoices(SettingsStore& store, const ConfigChoices& choices);

}  // namespace gloam
