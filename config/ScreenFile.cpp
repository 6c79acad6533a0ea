#include "config/ScreenFile.h"

#include "config/IniFile.h"

namespace dotvane {

ScreenTables ReadScreenFile(const IniFile& ini)
{
    ScreenTables tables;
    for (int f = 0; f < FontCount; ++f) {
        const std::string section = "Font" + std::to_string(f);
        const FontEntry def;
        FontEntry& font = tables.FontTable[f];
        font.Name = ini.GetString(section, "Name", def.Name);
        font.Size = ini.GetInteger(section, "Size", def.Size);
        font.CutTop = ini.GetInteger(section, "CutTop", def.CutTop);
        font.CutLeft = ini.GetInteger(section, "CutLeft", def.CutLeft);
        font.Invert = ini.GetBool(section, "Invert", def.Invert);
    }
    for (int s = 0; s < ScreenCount; ++s) {
        const std::string section = "Screen" + std::to_string(s);
        const ScreenEntry def;
        ScreenEntry& screen = tables.ScreenTable[s];
        screen.Enable = ini.GetBool(section, "Enable", def.Enable);
        screen.Interval = ini.GetInteger(section, "Interval", def.Interval);
        screen.Update = ini.GetInteger(section, "Update", def.Update);
        screen.Bitmap = ini.GetString(section, "Bitmap", "");
        for (int j = 0; j < ElementsPerScreen; ++j) {
            const std::string index = std::to_string(j);
            screen.Icon[j] = ini.GetString(section, "Icon" + index, "");
            screen.Graphic[j] = ini.GetString(section, "Graphic" + index, "");
            screen.Line[j] = ini.GetString(section, "Line" + index, "");
        }
    }
    return tables;
}

}  // namespace dotvane
