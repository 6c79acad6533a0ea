#pragma once

#include "FakeClock.h"
#include "FakePortLibrary.h"
#include "FakeServiceManager.h"
#include "tests/support/RecordingHost.h"

#include "config/Settings.h"
#include "lcd/DisplayFactory.h"
#include "lcd/KS0108Driver.h"
#include "lcd/T6963CDriver.h"
#include "lcd/TDLPortIO.h"

#include <gtest/gtest.h>

namespace dotvane::test {

// Settings as at program start and the display LCD/Type selects, on a port
// component whose fake library sends every access to `target`; a fake clock
// is installed and a recording host takes the reports. The component is not
// opened yet.
class DriverFixture {
public:
    explicit DriverFixture(PortTarget& target) : library(target), component(services, library) {}

    TT6963CDriver& T6963C() { return static_cast<TT6963CDriver&>(display.Of(DisplayKind::T6963C)); }
    TKS0108Driver& KS0108() { return static_cast<TKS0108Driver&>(display.Of(DisplayKind::KS0108)); }

    TMainSettings MainSettings;
    FakePortLibrary library;
    FakeServiceManager services;
    TDLPortIO component;
    FakeClock clock;
    RecordingHost host;
    SelectedDisplay display{component, MainSettings, host};
};

// The same with a recording port, opened, for byte-exact tests. The
// settings and both controllers go by the names the program gives them.
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
    TMainSettings& MainSettings = fixture.MainSettings;
    SelectedDisplay& display = fixture.display;
    TT6963CDriver& T6963CDriver = fixture.T6963C();
    TKS0108Driver& KS0108Driver = fixture.KS0108();
};

}  // namespace dotvane::test
