#include "vars/SensorMirror.h"

#include "tests/support/FakeNamedSections.h"
#include "tests/support/SensorSection.h"
#include "tests/support/Variables.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace dotvane {
namespace {

class SensorsTest : public test::VariablesTest {
protected:
    bool RefreshSensors() { return dotvane::RefreshSensors(SensorMirror); }
    void TearDown() override
    {
        EXPECT_EQ(fake.openMappings, 0) << "a mapping was left open";
        EXPECT_EQ(fake.openViews, 0) << "a view was left mapped";
    }
    void Publish(const test::SensorSection& section) { fake.sections["$M$B$M$5$S$D$"] = section.bytes; }

    test::FakeNamedSections fake;
    SensorReadings& SensorMirror = Values.SensorMirror;
};

TEST_F(SensorsTest, RecordsLandInTheirSlotsByPosition)
{
    test::SensorSection section(66);
    section.SetCount(0, 32).SetCount(1, 16).SetCount(2, 16).SetCount(3, 1).SetCount(4, 1);
    for (size_t j = 0; j < 66; ++j) section.SetReading(j, static_cast<double>(j) + 0.5);
    Publish(section);
    ASSERT_TRUE(RefreshSensors());
    for (size_t j = 0; j < 66; ++j) EXPECT_EQ(SensorMirror[j], static_cast<double>(j) + 0.5) << j;
    EXPECT_EQ(SensorMirror[66], 0);
    EXPECT_EQ(ExpandVariable("mbmtemp(31)"), "31");
    EXPECT_EQ(ExpandVariable("mbmvolt(0)"), "32.5");
    EXPECT_EQ(ExpandVariable("mbmvolt(15)"), "47.5");
    EXPECT_EQ(ExpandVariable("mbmfan(0)"), "48");
    EXPECT_EQ(ExpandVariable("mbmfan(15)"), "63");
    EXPECT_EQ(ExpandVariable("mbmmhz"), "64");
    EXPECT_EQ(ExpandVariable("mbmusage(0)"), "65");
}

TEST_F(SensorsTest, AsksForNoMoreOfTheSectionThanTheReadingsReach)
{
    test::SensorSection section(100);
    section.SetCount(0, 100);
    Publish(section);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(fake.limits, (std::vector<size_t>{88 + 80 * 99 + 24}));
}

TEST_F(SensorsTest, OnlyAnnouncedRecordsAreCopiedAndOthersKeepTheirReadings)
{
    // Counts summing to 10 leave slot 32 (the first voltage) alone.
    test::SensorSection section(40);
    section.SetCount(0, 4).SetCount(3, 6);
    for (size_t j = 0; j < 40; ++j) section.SetReading(j, 7);
    Publish(section);
    SensorMirror[10] = 3;
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[9], 7);
    EXPECT_EQ(SensorMirror[10], 3);
    EXPECT_EQ(ExpandVariable("mbmvolt(0)"), "   0");
}

TEST_F(SensorsTest, TheTenthIndexEntryAndNegativeTotalsAddNothing)
{
    test::SensorSection section(20);
    section.SetCount(9, 20);
    for (size_t j = 0; j < 20; ++j) section.SetReading(j, 9);
    Publish(section);
    EXPECT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[0], 0);

    section.SetCount(9, 0).SetCount(0, 5).SetCount(1, -9);
    Publish(section);
    EXPECT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[0], 0);
}

TEST_F(SensorsTest, MoreThanAHundredAnnouncedRecordsCopyOnlyAHundred)
{
    test::SensorSection section(120);
    section.SetCount(0, 60).SetCount(8, 60);
    for (size_t j = 0; j < 120; ++j) section.SetReading(j, static_cast<double>(j));
    Publish(section);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[99], 99);
    EXPECT_EQ(ExpandVariable("mbmusage(34)"), "99");
}

TEST_F(SensorsTest, AViewSmallerThanItsAnnouncedRecordsIsNotReadPastItsEnd)
{
    // 50 records announced, 20 present, and the 21st cut one byte short.
    test::SensorSection section(21);
    section.SetCount(0, 50);
    for (size_t j = 0; j < 21; ++j) section.SetReading(j, 4);
    test::SensorSection cut = section;
    cut.bytes.resize(88 + 80 * 20 + 23);
    Publish(cut);
    SensorMirror[20] = 11;
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[19], 4);
    EXPECT_EQ(SensorMirror[20], 11);

    // A reading that ends exactly at the end of the view is still read.
    cut = section;
    cut.bytes.resize(88 + 80 * 20 + 24);
    Publish(cut);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[20], 4);
}

TEST_F(SensorsTest, AViewTooSmallForTheIndexIsNotRead)
{
    test::SensorSection section(0);
    section.SetCount(0, 3);
    section.bytes.resize(79);
    Publish(section);
    SensorMirror[0] = 2;
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(SensorMirror[0], 2);
}

TEST_F(SensorsTest, AbsentSectionSinceStartShowsZeros)
{
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(fake.opened, 1);
    EXPECT_EQ(ExpandVariable("mbmtemp(0)"), "0");
    EXPECT_EQ(ExpandVariable("mbmvolt(3)"), "   0");
    EXPECT_EQ(ExpandVariable("mbmfan(2)"), "0");
    EXPECT_EQ(ExpandVariable("mbmmhz"), "0");
    EXPECT_EQ(ExpandVariable("mbmusage(0)"), "0");
}

TEST_F(SensorsTest, ASectionThatDisappearsOrCannotBeMappedKeepsTheLastReadings)
{
    test::SensorSection section(1);
    section.SetCount(0, 1).SetReading(0, 45.8);
    Publish(section);
    ASSERT_TRUE(RefreshSensors());
    fake.sections.clear();
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(0)"), "45");

    Publish(section.SetReading(0, 50));
    fake.failMapping = true;
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandVariable("mbmtemp(0)"), "45");
}

struct MbmCase {
    size_t slot;
    double reading;
    const char* name;
    const char* text;
};

class MbmFormatTest : public SensorsTest, public ::testing::WithParamInterface<MbmCase> {};

TEST_P(MbmFormatTest, ShowsTheSlotInTheFamilysFormat)
{
    const MbmCase& c = GetParam();
    SensorMirror[c.slot] = c.reading;
    EXPECT_EQ(ExpandVariable(c.name), c.text) << c.name << " with " << c.reading;
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Names, MbmFormatTest,
    ::testing::Values(MbmCase{0, 45.8, "mbmtemp(0)", "45"}, MbmCase{0, -3.7, "mbmtemp(0)", "-3"},
                      MbmCase{31, 70.9, "mbmtemp(31)", "70"}, MbmCase{5, 44, "mbmtemp( 5)", "44"},
                      MbmCase{32, 1.648, "mbmvolt(0)", "1.65"}, MbmCase{32, 12.19, "mbmvolt(0)", "12.2"},
                      MbmCase{32, 5, "mbmvolt(0)", "   5"}, MbmCase{47, -12.04, "mbmvolt(15)", " -12"},
                      MbmCase{50, 2812.7, "mbmfan(2)", "2812"}, MbmCase{64, 2400.9, "mbmmhz", "2400"},
                      MbmCase{64, 1200, "mbmmhz(5)", "1200"}, MbmCase{64, 1200, "mbmmhzanything", "1200"},
                      MbmCase{65, 99.9, "mbmusage(0)", "99"}, MbmCase{99, 12, "mbmusage(34)", "12"},
                      MbmCase{0, 1e300, "mbmtemp(0)", "9223372036854775807"},
                      MbmCase{0, -1e300, "mbmtemp(0)", "-9223372036854775808"},
                      MbmCase{0, kNaN, "mbmtemp(0)", ""}, MbmCase{32, kNaN, "mbmvolt(0)", " nan"}));

TEST_F(SensorsTest, IndexesOutsideTheirRegionAndOtherNamesAreEmpty)
{
    SensorMirror.fill(1);
    for (const char* name : {"mbmtemp(32)", "mbmtemp(-1)", "mbmvolt(16)", "mbmfan(16)", "mbmfan(-1)",
                             "mbmusage(35)", "mbmusage(100)", "mbmtemp(0", "mbmvolt", "mbm", "mbmother",
                             "mbmTemp(0)", "MBMTEMP(0)"})
        EXPECT_EQ(ExpandVariable(name), "") << name;
    EXPECT_EQ(ExpandVariable("mbmtemp(x)"), "1") << "text without digits reads as sensor 0";
}

}  // namespace
}  // namespace dotvane
