// modMain: start-up. Main records the install, seeds the generator, refuses to run beside an open
// display window or settings dialog, loads the settings and shows the one form the command line
// asks for.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/settings_store.h"

namespace gloam::modMain {

// The speed and size indexes, set once by LoadSettings before any form is loaded.
extern int32_t lngSpeed;
extern int32_t lngSize;

void LoadSettings(SettingsStore& store);
void RegisterInstallInfo(SettingsStore& store, std::wstring_view executable_path);

// The argument part of the command line, as the entry point received it.
void SetArguments(const wchar_t* arguments);

void Main();

}  // namespace gloam::modMain
