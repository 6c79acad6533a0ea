#include "vars/ExpandLine.h"

#include "tests/support/Variables.h"
#include "vars/PerfCounterSource.h"

#include <gtest/gtest.h>

namespace dotvane {
namespace {

class ExpandTest : public test::VariablesTest {
protected:
    void SetUp() override
    {
        MainSettings.ExternalIP.Enable = true;
        ExternalAddress = "192.0.2.7";
        Values.MailCount = {10, 11, 12, 13, 14};
    }
    std::string& ExternalAddress = Values.ExternalAddress;
};

struct LineCase {
    const char* line;
    const char* expanded;
};

class ExpandLineTest : public ExpandTest, public ::testing::WithParamInterface<LineCase> {};

TEST_P(ExpandLineTest, Expands)
{
    EXPECT_EQ(ExpandLine(GetParam().line), GetParam().expanded) << "template '" << GetParam().line << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Templates, ExpandLineTest,
    ::testing::Values(LineCase{"", ""}, LineCase{"plain text", "plain text"}, LineCase{"cost $", "cost $"},
                      LineCase{"$ alone", "$ alone"}, LineCase{"a$$b", "ab"}, LineCase{"a$$$b", "a$b"},
                      LineCase{"$$$$", ""}, LineCase{"ip $extip$!", "ip 192.0.2.7!"},
                      LineCase{"$extip$$extip$", "192.0.2.7192.0.2.7"},
                      LineCase{"$mailcount(2)$/$mailcount(0)$", "12/10"},
                      LineCase{"$EXTIP$|$Mailcount(1)$", "|"}, LineCase{"[$mailcount(1$]", "[]"},
                      LineCase{"$unknown name$ stays out", " stays out"}, LineCase{"$extip", "$extip"},
                      LineCase{"x$extip$y$", "x192.0.2.7y$"}, LineCase{"$mailcount(-1)$$mailcount(5)$", ""},
                      LineCase{"$mailcount( 3)$", "13"}, LineCase{"$mailcount$", ""},
                      LineCase{"$mailcount(4 extra)$", "14"}));

// A line stops where its text passes rows × columns (two rows at least),
// and is cut there; a variable left in the rest of it tells the budget.
struct CapCase {
    int rows;
    int columns;
    const char* line;
    const char* expanded;
    bool cut;
};

class ExpandLineCapTest : public ExpandTest, public ::testing::WithParamInterface<CapCase> {};

TEST_P(ExpandLineCapTest, StopsAtWhatTheDisplayCanShow)
{
    const CapCase& c = GetParam();
    MainSettings.LCD.TextRows = c.rows;
    MainSettings.LCD.TextColumns = c.columns;
    ExpansionBudget budget(MainSettings);
    EXPECT_EQ(dotvane::ExpandLine(c.line, context, budget), c.expanded) << "template '" << c.line << "'";
    EXPECT_EQ(budget.Cut(), c.cut) << "template '" << c.line << "'";
}

INSTANTIATE_TEST_SUITE_P(
    Caps, ExpandLineCapTest,
    ::testing::Values(CapCase{2, 5, "$extip$$extip$", "192.0.2.71", false},
                      CapCase{2, 5, "$extip$$extip$$extip$", "192.0.2.71", true},
                      CapCase{2, 5, "0123456789$extip$", "0123456789", false},
                      CapCase{2, 5, "0123456789a$extip$", "0123456789", true},
                      CapCase{2, 5, "$extip$ $", "192.0.2.7 ", false}, CapCase{0, 5, "0123456789ab", "0123456789", false},
                      CapCase{16, 2, "$extip$$extip$$extip$$extip$$extip$", "192.0.2.7192.0.2.7192.0.2.7192.0", true}));

TEST_F(ExpandTest, ARefreshExpandsAtMostTheVariableLimitInAllItsLines)
{
    MainSettings.LCD.TextColumns = 100000;
    ExpansionBudget budget(MainSettings);
    std::string line, counts;
    for (int i = 1; i < ExpansionBudget::kVariableLimit; ++i) {
        line += "$mailcount(1)$";
        counts += "11";
    }
    EXPECT_EQ(dotvane::ExpandLine(line + "$extip$|$$|$extip$", context, budget), counts + "192.0.2.7|");
    EXPECT_TRUE(budget.Cut());
    EXPECT_EQ(dotvane::ExpandLine("plain text", context, budget), "plain text");
    EXPECT_EQ(dotvane::ExpandLine("a$extip$b", context, budget), "a");
    // A line of its own has a budget of its own.
    EXPECT_EQ(ExpandLine("a$extip$b"), "a192.0.2.7b");
}

TEST_F(ExpandTest, AValueHoldingADollarIsNotExpandedAgain)
{
    ExternalAddress = "a$mailcount(0)$";
    EXPECT_EQ(ExpandLine("$extip$"), "a$mailcount(0)$");
    ExternalAddress = "$";
    EXPECT_EQ(ExpandLine("$extip$$mailcount(1)$"), "$11");
    EXPECT_EQ(ExpandLine("$extip$mailcount(1)$"), "$mailcount(1)$");
}

TEST_F(ExpandTest, ExtipIsEmptyWhileTheLookupIsOff)
{
    MainSettings.ExternalIP.Enable = false;
    EXPECT_EQ(ExpandVariable("extip"), "");
    MainSettings.ExternalIP.Enable = true;
    ExternalAddress = "Unknown";
    EXPECT_EQ(ExpandVariable("extip"), "Unknown");
}

TEST_F(ExpandTest, UnbuiltFamiliesAndUnclaimedNamesAreEmpty)
{
    for (const char* name : {"", "nothing", "pdh_cpu", "extip ", "mailcount(0", "mailcounts"})
        EXPECT_EQ(ExpandVariable(name), "") << name;
}

class FakeCounters : public PerfCounterSource {
public:
    void OpenQuery() override {}
    void LoadCounters(const std::string&) override {}
    void CollectCounters() override {}
    void CloseQuery() override {}
    std::string Value(std::string_view name) override { return "counter:" + std::string(name); }
};

TEST_F(ExpandTest, CounterNamesReachTheCounterSourceOnlyWhenItIsOn)
{
    FakeCounters counters;
    context.PerfCounters = &counters;
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "");
    MainSettings.NTPerfMon.Enable = true;
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "counter:pdh_cpu");
    EXPECT_EQ(ExpandVariable("pdh_mailcount(0)"), "counter:pdh_mailcount(0)");
    context.PerfCounters = nullptr;
    EXPECT_EQ(ExpandVariable("pdh_cpu"), "");
}

}  // namespace
}  // namespace dotvane
