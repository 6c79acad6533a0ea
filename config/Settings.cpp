#include "config/Settings.h"

#include "base/Colors.h"
#include "config/IniFile.h"

#include <algorithm>

namespace dotvane {
namespace {

void ReadColor(const IniFile& ini, const char* key, const char* def, std::string& field)
{
    field = "cl" + ini.GetString("VLCD", key, def);
}

void CheckColor(std::string& field, const char* fallback)
{
    if (!IdentToColor(field)) field = fallback;
}

}  // namespace

bool IsDefaultWebAddress(std::string_view address)
{
    std::string_view page = kDefaultWebAddress;
    if (!address.ends_with('/')) page.remove_suffix(1);
    return std::equal(address.begin(), address.end(), page.begin(), page.end(), [](char a, char b) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(a) == lower(b);
    });
}

TMainSettings ReadMainSettings(const IniFile& ini)
{
    const TMainSettings def;
    TMainSettings s;

    s.Port.Base = ini.GetInteger("Port", "Base", def.Port.Base);
    s.Port.Device = ini.GetString("Port", "Device", def.Port.Device);
    s.T6963C.CheckBusyFlag = ini.GetBool("T6963C", "CheckBusyFlag", def.T6963C.CheckBusyFlag);
    s.T6963C.Wiring = ini.GetInteger("T6963C", "Wiring", def.T6963C.Wiring);
    s.T6963C.Size = ini.GetInteger("T6963C", "Size", def.T6963C.Size);
    s.KS0108.Delay = ini.GetInteger("KS0108", "Delay", def.KS0108.Delay);
    s.LCD.Type = ini.GetInteger("LCD", "Type", def.LCD.Type);
    // The refresh works on at most 16 rows, one per line a screen holds, and
    // splits long rows against at least two columns.
    s.LCD.TextColumns = std::max(2, ini.GetInteger("LCD", "TextColumns", def.LCD.TextColumns));
    s.LCD.TextRows = std::clamp(ini.GetInteger("LCD", "TextRows", def.LCD.TextRows), 0, kMaxTextRows);
    s.LCD.XPixels = ini.GetInteger("LCD", "XPixels", def.LCD.XPixels);
    s.LCD.YPixels = ini.GetInteger("LCD", "YPixels", def.LCD.YPixels);

    ReadColor(ini, "BackColor", "Yellow", s.VLCD.BackColor);
    ReadColor(ini, "TextColor", "Black", s.VLCD.TextColor);
    ReadColor(ini, "BmpColor", "Black", s.VLCD.BmpColor);
    ReadColor(ini, "GraphicsColor", "Black", s.VLCD.GraphicsColor);
    CheckColor(s.VLCD.BackColor, "clYellow");
    CheckColor(s.VLCD.TextColor, "clBlack");
    CheckColor(s.VLCD.BmpColor, "clBlack");
    CheckColor(s.VLCD.GraphicsColor, "clBlack");

    s.NTPerfMon.Enable = ini.GetBool("NTPerfMon", "Enable", def.NTPerfMon.Enable);

    s.Pop3.Update = ini.GetInteger("Pop3", "Update", def.Pop3.Update);
    s.Pop3.Enable = ini.GetBool("Pop3", "Enable", def.Pop3.Enable);
    for (int i = 0; i < 5; ++i) {
        const std::string index = std::to_string(i);
        s.Pop3.Host[i] = ini.GetString("Pop3", "Host" + index, "");
        s.Pop3.UserID[i] = ini.GetString("Pop3", "UserID" + index, "");
        s.Pop3.Password[i] = ini.GetString("Pop3", "Password" + index, "");
    }

    s.ExternalIP.Enable = ini.GetBool("ExternalIP", "Enable", def.ExternalIP.Enable);
    s.ExternalIP.Update = ini.GetInteger("ExternalIP", "Update", def.ExternalIP.Update);
    s.ExternalIP.WebAddress = ini.GetString("ExternalIP", "WebAddress", def.ExternalIP.WebAddress);
    // The default texts are those of the default page; for a page of the
    // user's own the text before the address defaults to "Your ip is ".
    s.ExternalIP.BeforeString = ini.GetString(
        "ExternalIP", "BeforeString",
        IsDefaultWebAddress(s.ExternalIP.WebAddress) ? def.ExternalIP.BeforeString : kOwnPageBeforeString);
    s.ExternalIP.AfterString = ini.GetString("ExternalIP", "AfterString", def.ExternalIP.AfterString);

    s.SetiAtHome.Enable = ini.GetBool("Seti@Home", "Enable", def.SetiAtHome.Enable);
    s.SetiAtHome.Interval = ini.GetInteger("Seti@Home", "Interval", def.SetiAtHome.Interval);
    s.SetiAtHome.Statedir = ini.GetString("Seti@Home", "Statedir", "");
    s.SetiAtHome.Userinfodir = ini.GetString("Seti@Home", "Userinfodir", "");
    s.SetiAtHome.Outfiledir = ini.GetString("Seti@Home", "Outfiledir", "");

    s.SkipScreen.Enable = ini.GetBool("SkipScreen", "Enable", def.SkipScreen.Enable);
    s.SkipScreen.NoWinamp = ini.GetInteger("SkipScreen", "NoWinamp", def.SkipScreen.NoWinamp);

    for (int i = 0; i < 7; ++i) s.WeekdayNames[i] = ini.GetString("Weekdays", std::to_string(i), "");

    s.Screens.ScreenFile = ini.GetString("Screens", "ScreenFile", def.Screens.ScreenFile);
    // An empty name would name the program's folder itself.
    if (s.Screens.ScreenFile.empty()) s.Screens.ScreenFile = def.Screens.ScreenFile;
    return s;
}

}  // namespace dotvane
