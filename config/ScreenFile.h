#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace dotvane {

class IniFile;

inline constexpr int ScreenCount = 21;
inline constexpr int ElementsPerScreen = 16;
inline constexpr int FontCount = 5;

// One screen of the screen file ("Screen0" … "Screen20").
struct ScreenEntry {
    bool Enable = false;
    int32_t Interval = 5000;
    int32_t Update = 1000;
    std::string Bitmap;
    std::array<std::string, ElementsPerScreen> Icon;
    std::array<std::string, ElementsPerScreen> Graphic;
    std::array<std::string, ElementsPerScreen> Line;
};

// One font slot of the screen file ("Font0" … "Font4").
struct FontEntry {
    std::string Name;
    int32_t Size = 10;
    int32_t CutTop = 0;
    int32_t CutLeft = 0;
    bool Invert = false;
};

using ScreenEntries = std::array<ScreenEntry, ScreenCount>;
using FontEntries = std::array<FontEntry, FontCount>;

// The two tables of a screen file.
struct ScreenTables {
    ScreenEntries ScreenTable;
    FontEntries FontTable;
};

// Both tables from a parsed screen file, every field from its key; sections
// and keys the file lacks take their defaults.
ScreenTables ReadScreenFile(const IniFile& ini);

}  // namespace dotvane
