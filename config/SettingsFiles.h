#pragma once

#include "config/ScreenFile.h"
#include "config/Settings.h"

#include <string>

namespace dotvane {

// What the settings files of a program folder hold.
struct SettingsFiles {
    TMainSettings MainSettings;
    ScreenTables Screens;
};

// Reads DOTVANE.INI from the program folder (given with a trailing
// separator), then the screen file it names. The screen file is always taken
// relative to the program's folder, even when it is written as an absolute
// name. Missing files and bad values give defaults.
SettingsFiles ReadSettingsFiles(const std::string& programFolder);

}  // namespace dotvane
