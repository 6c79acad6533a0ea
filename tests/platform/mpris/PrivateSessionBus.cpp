#include "tests/platform/mpris/PrivateSessionBus.h"

namespace dotvane::test {
namespace {

QString address;

}  // namespace

void PrivateSessionBus::SetUp()
{
    daemon_.setProgram(QStringLiteral("dbus-daemon"));
    daemon_.setArguments({QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--nopidfile"),
                          QStringLiteral("--print-address=1")});
    daemon_.start();
    ASSERT_TRUE(daemon_.waitForStarted(10000)) << "dbus-daemon did not start";
    // The daemon prints its address once it listens. Its warnings (such as
    // a file limit it may not raise) only matter when it fails.
    while (!daemon_.canReadLine())
        ASSERT_TRUE(daemon_.waitForReadyRead(10000))
            << "dbus-daemon gave no address: " << daemon_.readAllStandardError().toStdString();
    address = QString::fromUtf8(daemon_.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
    qputenv("DBUS_SESSION_BUS_ADDRESS", address.toUtf8());
}

void PrivateSessionBus::TearDown()
{
    daemon_.terminate();
    if (!daemon_.waitForFinished(5000)) daemon_.kill();
    daemon_.waitForFinished(5000);
}

QString PrivateSessionBus::Address() { return address; }

}  // namespace dotvane::test
