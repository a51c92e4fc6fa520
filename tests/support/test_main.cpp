#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    // Listing the tests (CTest's discovery) needs no display.
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    // Keep tests away from the user's real configuration and data folders,
    // and from each other's controller locks and sockets: tests run in
    // parallel processes on the same simulated serial numbers.
    QStandardPaths::setTestModeEnabled(true);
    // Qt reads its scale factor once, before the application exists.
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg(argv[i]);
        if (arg.startsWith("--qt-scale-factor="))
            qputenv("QT_SCALE_FACTOR", arg.mid(18));
    }
    QTemporaryDir runtime;
    if (runtime.isValid()) {
        QFile::setPermissions(runtime.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
    }
    QApplication app(argc, argv);
    QApplication::setOrganizationName(QStringLiteral("corvane-test"));
    QApplication::setApplicationName(QStringLiteral("corvane-config-test"));
    return RUN_ALL_TESTS();
}
