#include "tests/platform/mpris/PrivateSessionBus.h"

#include <gtest/gtest.h>

#include <QtCore/QCoreApplication>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // QtDBus runs its connections on a thread that needs the application.
    QCoreApplication application(argc, argv);
    ::testing::AddGlobalTestEnvironment(new dotvane::test::PrivateSessionBus);
    return RUN_ALL_TESTS();
}
