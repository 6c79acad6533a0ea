// The bundled example screen for the mail counts and the external address.
#include "config/IniFile.h"
#include "config/ScreenFile.h"
#include "config/Settings.h"
#include "vars/ExpandLine.h"
#include "vars/ExternalAddress.h"
#include "vars/MailCountVariable.h"

#include <gtest/gtest.h>

#include <limits>

namespace dotvane {
namespace {

TEST(MailScreenTest, ShowsEveryAccountAndTheAddressWithinTheExampleDisplay)
{
    ReadScreenFile(IniFile::FromFile(DOTVANE_SOURCE_DIR "/examples/screens/default.ini"));
    const ScreenEntry& screen = ScreenTable[8];
    ASSERT_TRUE(screen.Enable);
    MainSettings = TMainSettings{};
    MainSettings.ExternalIP.Enable = true;
    ExternalAddress = "203.0.113.255";
    MailCount = {3, 0, 12, std::numeric_limits<int32_t>::max(), -1};

    EXPECT_EQ(ExpandLine(screen.Line[1]), "Account 0: 3");
    EXPECT_EQ(ExpandLine(screen.Line[3]), "Account 2: 12");
    EXPECT_EQ(ExpandLine(screen.Line[7]), "203.0.113.255");
    // The example display has 22 columns and 8 rows.
    for (size_t row = 0; row < screen.Line.size(); ++row) {
        if (row >= 8) {
            EXPECT_EQ(screen.Line[row], "") << "row " << row;
            continue;
        }
        EXPECT_LE(ExpandLine(screen.Line[row]).size(), 22u) << "row " << row;
    }

    MainSettings.ExternalIP.Enable = false;
    EXPECT_EQ(ExpandLine(screen.Line[7]), "");
    MainSettings = TMainSettings{};
    ExternalAddress = "Unknown";
    MailCount = {};
}

}  // namespace
}  // namespace dotvane
