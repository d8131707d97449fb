// Runs a test suite inside a QApplication on a private X server with a
// decorating window manager, as a user's desktop would show the windows.
#include "XSession.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests needs no server.
    if (::testing::GTEST_FLAG(list_tests))
        return RUN_ALL_TESTS();
    zb::test::XSession session;
    if (!session.ok()) {
        std::fprintf(stderr, "no X session for these tests: %s\n", qPrintable(session.error()));
        return 1;
    }
    session.exportToEnvironment();
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
