// Simulated faults given on the command line drive the failure paths through
// the real program: each ends with its message and exit code, in time.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct FaultCase {
    const char *fault;
    const char *command;
    int code;
    const char *message;
};

class CliSimulatedFaults : public ::testing::TestWithParam<FaultCase> {};

TEST_P(CliSimulatedFaults, EndWithTheirMessage)
{
    const FaultCase &c = GetParam();
    QTemporaryDir dir;
    QProcess p;
    const QStringList args = QStringList{QStringLiteral("--simulate"), QStringLiteral("--simulate-state"),
                                         dir.filePath(QStringLiteral("s.json")), QStringLiteral("--simulate-faults"),
                                         QString::fromLatin1(c.fault)}
        + QString::fromLatin1(c.command).split(QLatin1Char(' '));
    p.start(QStringLiteral(CORVANE_CLI_PATH), args);
    ASSERT_TRUE(p.waitForFinished(20000));
    EXPECT_EQ(p.exitCode(), c.code);
    EXPECT_EQ(p.readAllStandardError(), QByteArray(c.message) + '\n');
}

INSTANTIATE_TEST_SUITE_P(
    Faults, CliSimulatedFaults,
    ::testing::Values(
        FaultCase{"SIM0001:refuse-write=BRIG:0xC4", "set BRIG=150", 1,
                  "Error writing Config = 0x80C4 (Illegal Value/Range): BRIG"},
        FaultCase{"SIM0001:refuse-read=6CFG:0x80C7", "get", 1, "Error reading Config = 0x80C7 (Execution Failed)"},
        FaultCase{"SIM0001:fail-after=7", "get", 1, "Error reading Config = 0xE000 (Communication Error)"},
        FaultCase{"SIM0001:unplug-after=1", "info", 1, "Error Reading Biosinfo = 0xE000 (Communication Error)"},
        FaultCase{"SIM0001:never-ready", "info", 1, "Error Reading Biosinfo = 0xF000 (Timeout)"},
        FaultCase{"SIM0001:wrong-echo", "info", 1, "Error Reading Biosinfo = 0xA000 (Wrong Command-Byte in Answer)"}),
    [](const ::testing::TestParamInfo<FaultCase> &info) { return "case" + std::to_string(info.index); });

TEST(CliSimulatedFaults, LeavesAndRejoinsTheBusOnTime)
{
    QTemporaryDir dir;
    QProcess p;
    p.start(QStringLiteral(CORVANE_CLI_PATH),
            {QStringLiteral("--simulate"), QStringLiteral("--simulate-state"), dir.filePath(QStringLiteral("s.json")),
             QStringLiteral("--simulate-faults"), QStringLiteral("SIM0001:unplug-at=200,SIM0001:replug-at=500"),
             QStringLiteral("watch")});
    ASSERT_TRUE(p.waitForStarted());
    QByteArray out;
    while (out.count('\n') < 3 && p.waitForReadyRead(5000))
        out += p.readAllStandardOutput();
    p.terminate();
    ASSERT_TRUE(p.waitForFinished(5000));
    out += p.readAllStandardOutput();
    EXPECT_EQ(out, QByteArray("SIM0001 arrived\nSIM0001 left\nSIM0001 arrived\n"));
    EXPECT_EQ(p.exitCode(), 0);
}

} // namespace
