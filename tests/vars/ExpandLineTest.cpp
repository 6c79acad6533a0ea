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
