// The bundled example screen for the mail counts and the external address.
#include "config/IniFile.h"
#include "config/ScreenFile.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <limits>

namespace dotvane {
namespace {

class MailScreenTest : public test::VariablesTest {};

TEST_F(MailScreenTest, ShowsEveryAccountAndTheAddressWithinTheExampleDisplay)
{
    const ScreenTables tables = ReadScreenFile(IniFile::FromFile(DOTVANE_SOURCE_DIR "/examples/screens/default.ini"));
    const ScreenEntry& screen = tables.ScreenTable[8];
    ASSERT_TRUE(screen.Enable);
    MainSettings.ExternalIP.Enable = true;
    Values.ExternalAddress = "203.0.113.255";
    Values.MailCount = {3, 0, 12, std::numeric_limits<int32_t>::max(), -1};

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
}

}  // namespace
}  // namespace dotvane
