// Any bytes must parse without a crash, and every getter must answer.
#include "config/IniFile.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const dotvane::IniFile ini = dotvane::IniFile::FromString(text);
    for (const std::string& section : ini.Sections()) {
        (void)ini.GetString(section, "Line0", "");
        (void)ini.GetInteger(section, "Base", 888);
        (void)ini.GetBool(section, "Enable", false);
        (void)ini.GetReal(section, "multiplier", 1.0);
    }
    int32_t value = 0;
    double real = 0;
    (void)dotvane::ParseIniInteger(text, value);
    (void)dotvane::ParseIniReal(text, real);
    return 0;
}
