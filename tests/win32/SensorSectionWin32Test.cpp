// The motherboard monitor's section on Windows: a named file mapping that
// the test publishes as the monitor would, read through OpenFileMappingA and
// MapViewOfFile into SensorMirror and shown by the mbm variables.
#include "platform/NamedSections.h"
#include "vars/SensorMirror.h"

#include "tests/support/SensorSection.h"
#include "tests/support/Variables.h"

#include "platform/win32/Win32Api.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace dotvane::test {
namespace {

// The section "$M$B$M$5$S$D$" with the given bytes, published for the
// object's lifetime.
class PublishedSection {
public:
    explicit PublishedSection(const SensorSection& section) : size_(section.bytes.size())
    {
        mapping_ = ::CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, static_cast<DWORD>(size_),
                                        std::string(platform::kSensorSectionName).c_str());
        if (mapping_ != nullptr) view_ = ::MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, 0);
        if (view_ != nullptr) std::memcpy(view_, section.bytes.data(), size_);
    }
    ~PublishedSection() { Withdraw(); }
    PublishedSection(const PublishedSection&) = delete;
    PublishedSection& operator=(const PublishedSection&) = delete;

    bool Published() const { return view_ != nullptr; }
    size_t Size() const { return size_; }
    void Withdraw()
    {
        if (view_ != nullptr) ::UnmapViewOfFile(view_);
        if (mapping_ != nullptr) ::CloseHandle(mapping_);
        view_ = nullptr;
        mapping_ = nullptr;
    }

private:
    size_t size_;
    HANDLE mapping_ = nullptr;
    void* view_ = nullptr;
};

class SensorSectionWin32Test : public VariablesTest {
protected:
    bool RefreshSensors() { return dotvane::RefreshSensors(SensorMirror); }

    SensorReadings& SensorMirror = Values.SensorMirror;
};

TEST_F(SensorSectionWin32Test, ReadingsAtTheMonitorsOffsetsReachTheVariables)
{
    SensorSection section(66);
    section.SetCount(0, 32).SetCount(1, 16).SetCount(2, 16).SetCount(3, 1).SetCount(4, 1);
    section.SetReading(0, 45.8).SetReading(1, -3.7).SetReading(32, 1.648).SetReading(33, 12.19).SetReading(34, 5);
    section.SetReading(48, 2700.9).SetReading(64, 1400.2).SetReading(65, 37.5);
    PublishedSection published(section);
    ASSERT_TRUE(published.Published());

    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$ $mbmtemp(1)$"), "45 -3");
    EXPECT_EQ(ExpandLine("[$mbmvolt(0)$][$mbmvolt(1)$][$mbmvolt(2)$]"), "[1.65][12.2][   5]");
    EXPECT_EQ(ExpandLine("$mbmfan(0)$ $mbmmhz$ $mbmusage(0)$"), "2700 1400 37");
}

TEST_F(SensorSectionWin32Test, OnlyAnnouncedRecordsAreCopied)
{
    SensorSection section(40);
    section.SetCount(0, 4).SetCount(9, 30);  // The tenth entry is not counted.
    for (size_t j = 0; j < 40; ++j) section.SetReading(j, static_cast<double>(j + 10));
    SensorMirror.fill(7.0);
    PublishedSection published(section);
    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[3], 13.0);
    EXPECT_EQ(SensorMirror[4], 7.0);
    EXPECT_EQ(SensorMirror[39], 7.0);
}

// The section holds ten records but announces a hundred: the view ends with
// its last page, and slots beyond it keep their readings.
TEST_F(SensorSectionWin32Test, AnnouncedRecordsBeyondTheViewAreNotRead)
{
    SensorSection section(10);
    section.SetCount(0, 100);
    for (size_t j = 0; j < 10; ++j) section.SetReading(j, 1.0 + static_cast<double>(j));
    SensorMirror.fill(7.0);
    PublishedSection published(section);

    platform::NamedSections& sections = platform::NamedSectionsService::Current();
    const auto mapping = sections.OpenFileMapping(platform::kSensorSectionName);
    ASSERT_NE(mapping, 0u);
    const std::byte* view = sections.MapViewOfFile(mapping, kSensorSectionBytes);
    ASSERT_NE(view, nullptr);
    const size_t size = sections.ViewSize(view);
    EXPECT_GE(size, published.Size());
    EXPECT_LT(size, 88u + 80u * 99u + 24u) << "the view must not reach the hundredth record";
    sections.UnmapViewOfFile(view);
    sections.CloseHandle(mapping);

    ASSERT_TRUE(RefreshSensors());
    EXPECT_EQ(SensorMirror[0], 1.0);
    EXPECT_EQ(SensorMirror[9], 10.0);
    EXPECT_EQ(SensorMirror[99], 7.0);
}

TEST_F(SensorSectionWin32Test, AbsentSectionLeavesTheLastReadings)
{
    ASSERT_EQ(::OpenFileMappingA(FILE_MAP_READ, FALSE, std::string(platform::kSensorSectionName).c_str()), nullptr);
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$[$mbmvolt(0)$]"), "0[   0]");

    {
        SensorSection section(1);
        section.SetCount(0, 1).SetReading(0, 51.0);
        PublishedSection published(section);
        ASSERT_TRUE(RefreshSensors());
    }
    EXPECT_FALSE(RefreshSensors());
    EXPECT_EQ(ExpandLine("$mbmtemp(0)$"), "51");
}

// Each refresh opens and closes the section: once the monitor withdraws it,
// nothing of the program keeps it alive.
TEST_F(SensorSectionWin32Test, NoHandleIsKeptBetweenRefreshes)
{
    SensorSection section(1);
    section.SetCount(0, 1).SetReading(0, 20.0);
    PublishedSection published(section);
    ASSERT_TRUE(RefreshSensors());
    published.Withdraw();
    EXPECT_EQ(::OpenFileMappingA(FILE_MAP_READ, FALSE, std::string(platform::kSensorSectionName).c_str()), nullptr);
    EXPECT_FALSE(RefreshSensors());
}

TEST_F(SensorSectionWin32Test, ViewIsReadOnly)
{
    SensorSection section(1);
    PublishedSection published(section);
    platform::NamedSections& sections = platform::NamedSectionsService::Current();
    const auto mapping = sections.OpenFileMapping(platform::kSensorSectionName);
    ASSERT_NE(mapping, 0u);
    const std::byte* view = sections.MapViewOfFile(mapping, kSensorSectionBytes);
    ASSERT_NE(view, nullptr);
    MEMORY_BASIC_INFORMATION info{};
    ASSERT_EQ(::VirtualQuery(view, &info, sizeof info), sizeof info);
    EXPECT_EQ(info.Protect, static_cast<DWORD>(PAGE_READONLY));
    sections.UnmapViewOfFile(view);
    sections.CloseHandle(mapping);
}

}  // namespace
}  // namespace dotvane::test
