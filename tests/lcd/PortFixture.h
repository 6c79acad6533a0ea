#pragma once

#include "FakeClock.h"
#include "FakePortLibrary.h"
#include "FakeServiceManager.h"
#include "tests/support/RecordingHost.h"

#include "config/ScreenFile.h"
#include "app/ScreenState.h"
#include "config/Settings.h"
#include "lcd/KS0108Driver.h"
#include "lcd/PortDriver.h"
#include "lcd/T6963CDriver.h"

#include <gtest/gtest.h>

namespace dotvane::test {

// Drivers, settings and screens as at program start, with a port component
// on a fake library whose accesses go to `target`; a fake clock and a
// recording host are installed. The component is not opened yet.
class DriverFixture {
public:
    explicit DriverFixture(PortTarget& target) : library(target), component(services, library)
    {
        Reset();
        InstallPortIO(&component);
    }
    ~DriverFixture()
    {
        InstallPortIO(nullptr);
        Reset();
    }

    FakePortLibrary library;
    FakeServiceManager services;
    TDLPortIO component;
    FakeClock clock;
    RecordingHost host;

private:
    static void Reset()
    {
        MainSettings = TMainSettings{};
        ScreenTable = {};
        CurrentScreen = 0;
        T6963CDriver = TT6963CDriver{};
        KS0108Driver = TKS0108Driver{};
    }
};

// The same with a recording port, opened, for byte-exact tests.
class RecordingPortTest : public ::testing::Test {
protected:
    RecordingPortTest() : fixture(port) { fixture.component.RunningOnNT = false; }

    // Opens the component and forgets the accesses made so far.
    void OpenPort()
    {
        fixture.component.OpenDriver();
        ASSERT_TRUE(fixture.component.ActiveHW);
        port.Log.clear();
    }

    RecordingPort port;
    DriverFixture fixture;
};

}  // namespace dotvane::test
