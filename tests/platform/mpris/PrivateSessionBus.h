#pragma once

#include <gtest/gtest.h>

#include <QtCore/QProcess>
#include <QtCore/QString>

namespace dotvane::test {

// A session bus of the test program's own (dbus-daemon), started before the
// first test and stopped after the last. DBUS_SESSION_BUS_ADDRESS points at
// it, so the players created for the session bus use it.
class PrivateSessionBus : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    // The bus address; empty until SetUp.
    static QString Address();

private:
    QProcess daemon_;
};

}  // namespace dotvane::test
