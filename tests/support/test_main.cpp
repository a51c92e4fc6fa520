#include <QApplication>
#include <QStandardPaths>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest's discovery) needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // Keep tests away from the user's real configuration and data folders.
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("corvane-test"));
    QApplication::setApplicationName(QStringLiteral("corvane-config-test"));
    return RUN_ALL_TESTS();
}
