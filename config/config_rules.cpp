#include "config/config_rules.h"

#include <limits>
#include <string>

#include "platform/error.h"
#include "platform/settings.h"
#include "platform/text.h"

namespace gloam {

int32_t OptionMemberFor(std::wstring_view key, int32_t stored_index) {
    const std::string setting =
        "The stored \"" + Utf8Of(key) + "\" setting " + std::to_string(stored_index);
    if (stored_index < std::numeric_limits<int16_t>::min() ||
        stored_index > std::numeric_limits<int16_t>::max()) {
        throw RuntimeError(setting + " is out of range: it does not fit in a 16-bit integer.");
    }
    if (stored_index < 0 || stored_index >= kOptionCount) {
        throw RuntimeError(setting + " names no choice of the settings dialog (0, 1 or 2).");
    }
    return stored_index;
}

ConfigChoices ChoicesFrom(const OptionChecks& speed, const OptionChecks& size) {
    ConfigChoices choices;
    for (int32_t i = 0; i < kOptionCount; ++i) {
        if (speed[i]) choices.speed = i;
        if (size[i]) choices.size = i;
    }
    return choices;
}

void WriteChoices(SettingsStore& store, const ConfigChoices& choices) {
    store.Write(kSettingsApp, kSettingsSection, kSpeedKey, SettingText(choices.speed));
    store.Write(kSettingsApp, kSettingsSection, kSizeKey, SettingText(choices.size));
}

}  // namespace gloam
