#include "config/SettingsFiles.h"

#include "config/IniFile.h"
#include "platform/FileNames.h"

namespace dotvane {

SettingsFiles ReadSettingsFiles(const std::string& programFolder)
{
    SettingsFiles files;
    files.MainSettings = ReadMainSettings(IniFile::FromFile(platform::NativePath(programFolder + "DOTVANE.INI")));
    files.Screens = ReadScreenFile(
        IniFile::FromFile(platform::NativePath(programFolder + files.MainSettings.Screens.ScreenFile)));
    return files;
}

}  // namespace dotvane
