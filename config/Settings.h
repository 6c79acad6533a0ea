#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace dotvane {

// Defaults of the external address lookup: the page to fetch and the texts
// around the address in it, which go together. The page is Dyn's CheckIP
// service, plain HTTP on port 80, whose whole answer is
//   <html><head><title>Current IP Check</title></head><body>Current IP
//   Address: 203.0.113.5</body></html>
// so the address lies between "Current IP Address: " and "</body>".
inline constexpr const char* kDefaultWebAddress = "http://checkip.dyndns.org/";
inline constexpr const char* kDefaultBeforeString = "Current IP Address: ";
inline constexpr const char* kDefaultAfterString = "</body>";
// The default BeforeString for a page that the settings name themselves,
// which settings written for such a page rely on.
inline constexpr const char* kOwnPageBeforeString = "Your ip is ";

// Whether a page address names the default page (letter case and a missing
// final "/" aside).
bool IsDefaultWebAddress(std::string_view address);

// One field per key of DOTVANE.INI, grouped by section; the member
// initialisers are the defaults that apply when a key is missing.
struct TMainSettings {
    struct {
        int32_t Base = 888;
        // The ppdev device of the port ("/dev/parport0"); empty finds it by
        // the address of the display's data register.
        std::string Device;
    } Port;
    struct {
        bool CheckBusyFlag = false;
        int32_t Wiring = 0;
        int32_t Size = 1;
    } T6963C;
    struct {
        int32_t Delay = 0;
    } KS0108;
    struct {
        int32_t Type = 3;
        int32_t TextColumns = 20;
        int32_t TextRows = 8;
        int32_t XPixels = 128;
        int32_t YPixels = 64;
    } LCD;
    // Colour identifiers, always valid names after a load ("clYellow").
    struct {
        std::string BackColor = "clYellow";
        std::string TextColor = "clBlack";
        std::string BmpColor = "clBlack";
        std::string GraphicsColor = "clBlack";
    } VLCD;
    struct {
        bool Enable = false;
    } NTPerfMon;
    struct {
        int32_t Update = 600000;
        bool Enable = false;
        std::array<std::string, 5> Host;
        std::array<std::string, 5> UserID;
        std::array<std::string, 5> Password;
    } Pop3;
    struct {
        bool Enable = false;
        int32_t Update = 600000;
        std::string WebAddress = kDefaultWebAddress;
        std::string BeforeString = kDefaultBeforeString;
        std::string AfterString = kDefaultAfterString;
    } ExternalIP;
    struct {
        bool Enable = false;
        int32_t Interval = 60000;
        std::string Statedir;
        std::string Userinfodir;
        std::string Outfiledir;
    } SetiAtHome;
    struct {
        bool Enable = false;
        int32_t NoWinamp = -1;
    } SkipScreen;
    std::array<std::string, 7> WeekdayNames;
    struct {
        std::string ScreenFile = "screens\\default.ini";
    } Screens;
};

class IniFile;

// The settings record DOTVANE.INI gives: every field from its key, missing
// keys and bad values taking their defaults. An empty ScreenFile is the
// default one.
TMainSettings ReadMainSettings(const IniFile& ini);

// Highest number of text rows a screen has lines for.
inline constexpr int32_t kMaxTextRows = 16;

}  // namespace dotvane
