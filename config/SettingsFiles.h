#pragma once

#include "config/ScreenFile.h"
#include "config/Settings.h"

#include <string>
#include <vector>

namespace dotvane {

// What the settings files of a program folder hold, and what there is to
// tell about reading them.
struct SettingsFiles {
    TMainSettings MainSettings;
    ScreenTables Screens;
    // A text for each file that is no regular file or is too large to be a
    // settings file, in the order the files were read; such a file reads as
    // an empty one. A missing or unreadable file is silently empty.
    std::vector<std::string> Problems;
};

// Reads DOTVANE.INI from the program folder (given with a trailing
// separator), then the screen file it names. The screen file is always taken
// relative to the program's folder, even when it is written as an absolute
// name. Missing files and bad values give defaults.
SettingsFiles ReadSettingsFiles(const std::string& programFolder);

}  // namespace dotvane
