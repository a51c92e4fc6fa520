// Simulated controllers remember their parameters between runs.
#include "CliTestSupport.h"

#include "device/SimState.h"
#include "device/SimUnit.h"

#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SimStateFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    CliRunResult run(const QStringList &args, int controllers = 1)
    {
        return RunCliArgs(QStringList{QStringLiteral("--simulate=%1").arg(controllers),
                                      QStringLiteral("--simulate-state"), path} + args);
    }
    void writeState(const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    QByteArray readFile(const QString &name) const
    {
        QFile f(name);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("state.json"));
};

TEST_F(SimStateFile, SettingsSurviveTheRun)
{
    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("BRIG=150")}).code, 0);
    const CliRunResult r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("BRIG=150\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(SimStateFile, MissingFileMeansFactorySettingsSilently)
{
    const CliRunResult r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.out, QStringLiteral("BRIG=100\n"));
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(path)); // reading writes nothing
}

TEST_F(SimStateFile, ControllersNotOnTheBusKeepTheirEntries)
{
    ASSERT_EQ(run({QStringLiteral("--device=SIM0002"), QStringLiteral("set"), QStringLiteral("BRIG=20")}, 2).code, 0);
    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("BRIG=10")}, 1).code, 0);
    EXPECT_EQ(run({QStringLiteral("--device=SIM0002"), QStringLiteral("get"), QStringLiteral("BRIG")}, 2).out,
              QStringLiteral("BRIG=20\n"));
    EXPECT_EQ(run({QStringLiteral("--device=SIM0001"), QStringLiteral("get"), QStringLiteral("BRIG")}, 2).out,
              QStringLiteral("BRIG=10\n"));
}

TEST_F(SimStateFile, ResetToDefaultsIsRemembered)
{
    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("BRIG=150")}).code, 0);
    ASSERT_EQ(run({QStringLiteral("reset-defaults")}).code, 0);
    EXPECT_EQ(run({QStringLiteral("get"), QStringLiteral("BRIG")}).out, QStringLiteral("BRIG=100\n"));
}

TEST_F(SimStateFile, CorruptFileWarnsAndIsMovedAsideAtTheNextChange)
{
    const QByteArray corrupt = "{\"format\": 1, \"controllers\": {\"SIM0001\": {\"BRIG\": ";
    writeState(corrupt);
    CliRunResult r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, QStringLiteral("BRIG=100\n"));
    EXPECT_TRUE(r.err.contains(QLatin1String("factory settings"))) << r.err.toStdString();
    EXPECT_EQ(readFile(path), corrupt); // a read leaves it alone

    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("BRIG=150")}).code, 0);
    EXPECT_EQ(readFile(path + QStringLiteral(".corrupt")), corrupt);
    r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.out, QStringLiteral("BRIG=150\n"));
    EXPECT_TRUE(r.err.isEmpty());
}

TEST_F(SimStateFile, WellFormedJsonWithBadContentIsCorruptToo)
{
    for (const QByteArray &text : {QByteArray("[]"), QByteArray("{\"format\": 2, \"controllers\": {}}"),
                                   QByteArray("{\"format\": 1, \"controllers\": {\"SIM0001\": {\"BRIG\": 150}}}"),
                                   QByteArray("{\"format\": 1, \"controllers\": {\"SIM0001\": 5}}")}) {
        writeState(text);
        const CliRunResult r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
        EXPECT_EQ(r.out, QStringLiteral("BRIG=100\n")) << text.constData();
        EXPECT_FALSE(r.err.isEmpty()) << text.constData();
    }
}

TEST_F(SimStateFile, OutOfRangeValueMakesTheFileCorrupt)
{
    ASSERT_EQ(run({QStringLiteral("set"), QStringLiteral("BRIG=150")}).code, 0);
    QByteArray text = readFile(path);
    text.replace("\"BRIG\": 150", "\"BRIG\": 4294967296");
    writeState(text);
    const CliRunResult r = run({QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.out, QStringLiteral("BRIG=100\n"));
    EXPECT_TRUE(r.err.contains(QLatin1String("BRIG")));
}

TEST_F(SimStateFile, UnwritableStateIsReportedButTheWriteStands)
{
    path = dir.filePath(QStringLiteral("a-file/state.json"));
    QFile blocker(dir.filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliRunResult r = run({QStringLiteral("set"), QStringLiteral("BRIG=150")});
    EXPECT_EQ(r.code, 0);
    EXPECT_TRUE(r.err.contains(QLatin1String("Cannot write"))) << r.err.toStdString();
}

TEST(SimStateDefault, WindowAndCommandLineShareTheDefaultFile)
{
    EXPECT_TRUE(SimState::DefaultPath().endsWith(QLatin1String("/corvane/corvane-config/simulated-controllers.json")));
}

// The installed program, with its own QCoreApplication, default state file
// and exit codes.
TEST(CliProcess, RemembersBetweenProcessesInTheDefaultLocation)
{
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(QStringLiteral("HOME"), home.path());
    env.insert(QStringLiteral("XDG_DATA_HOME"), home.filePath(QStringLiteral("data")));
    const auto runCli = [&env](const QStringList &args, QByteArray *out) {
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(CORVANE_CLI_PATH), args);
        EXPECT_TRUE(p.waitForFinished(30000));
        *out = p.readAllStandardOutput();
        return p.exitCode();
    };
    QByteArray out;
    EXPECT_EQ(runCli({QStringLiteral("--simulate"), QStringLiteral("set"), QStringLiteral("BRIG=150")}, &out), 0);
    EXPECT_EQ(runCli({QStringLiteral("--simulate"), QStringLiteral("get"), QStringLiteral("BRIG")}, &out), 0);
    EXPECT_EQ(out, QByteArray("BRIG=150\n"));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/corvane/corvane-config/simulated-controllers.json"))));
    EXPECT_EQ(runCli({QStringLiteral("--simulate"), QStringLiteral("get"), QStringLiteral("bogus")}, &out), 2);
    EXPECT_EQ(runCli({QStringLiteral("--simulate=2"), QStringLiteral("get")}, &out), 1);
}

// The window's way in: one call after the controllers are added.
TEST(SimStateAttach, WindowBusLoadsAndKeepsSaving)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("state.json"));
    {
        SimBus bus;
        bus.AddSane(1);
        AttachSimState(bus, path);
        bus.Units().first()->Firmware().SetParam("BRIG", 150);
        bus.paramsChanged(bus.Units().first()); // as the firmware does after a write
    }
    SimBus bus;
    bus.AddSane(1);
    AttachSimState(bus, path);
    EXPECT_EQ(bus.Units().first()->Firmware().Param("BRIG"), 150u);

    SimBus hardware; // no simulated controllers: the file is neither read nor written
    AttachSimState(hardware, path);
    EXPECT_TRUE(hardware.findChildren<SimState *>().isEmpty());
}
