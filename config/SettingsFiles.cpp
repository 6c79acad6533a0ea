#include "config/SettingsFiles.h"

#include "config/IniFile.h"
#include "platform/FileNames.h"

namespace dotvane {
namespace {

// Reads a settings file; a file that is no regular file or is too large to
// be a settings file adds its name and why to `problems`.
IniFile ReadSettingsFile(const std::string& name, std::vector<std::string>& problems)
{
    const std::filesystem::path file = platform::NativePath(name);
    IniFile ini = IniFile::FromFile(file);
    switch (ini.ReadStatus()) {
    case platform::FileStatus::NotRegular:
        problems.push_back("Could not read " + platform::ShownName(file) + ": it is not a regular file");
        break;
    case platform::FileStatus::TooLarge:
        problems.push_back("Could not read " + platform::ShownName(file) + ": it is larger than " +
                           std::to_string(kIniFileLimit) + " bytes");
        break;
    default:
        break;
    }
    return ini;
}

}  // namespace

SettingsFiles ReadSettingsFiles(const std::string& programFolder)
{
    SettingsFiles files;
    files.MainSettings = ReadMainSettings(ReadSettingsFile(programFolder + "DOTVANE.INI", files.Problems));
    const std::string screenFile = programFolder + files.MainSettings.Screens.ScreenFile;
    files.Screens = ReadScreenFile(ReadSettingsFile(screenFile, files.Problems));
    return files;
}

}  // namespace dotvane
