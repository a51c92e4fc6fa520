// Simulated controllers remember their parameters between runs.
#include "CliTestSupport.h"

#include "core/files/FileLock.h"
#include "device/SimState.h"
#include "device/Simulation.h"
#include "device/SimUnit.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/sysmacros.h>

class SimStateFile : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    CliRunResult run(const QStringList &args, int controllers = 1)
    {
        return RunCliArgs(QStringList{QStringLiteral("--simulate=%1").arg(controllers), "--simulate-state", path} + args);
    }
    CliRunResult getBrig(int controllers = 1, const QString &serial = QString())
    {
        return run((serial.isEmpty() ? QStringList() : QStringList{"--device=" + serial}) + QStringList{"get", "BRIG"},
                   controllers);
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

TEST_F(SimStateFile, SettingsAndResetsSurviveTheRunMissingFileMeansFactorySettings)
{
    CliRunResult r = getBrig();
    EXPECT_EQ(r.out, "BRIG=100\n");
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_FALSE(QFile::exists(path)); // reading writes nothing

    ASSERT_EQ(run({"set", "BRIG=150"}).code, 0);
    r = getBrig();
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "BRIG=150\n");
    EXPECT_TRUE(r.err.isEmpty());
    ASSERT_EQ(run({"reset-defaults"}).code, 0);
    EXPECT_EQ(getBrig().out, "BRIG=100\n");
}

TEST_F(SimStateFile, ControllersNotOnTheBusKeepTheirEntries)
{
    ASSERT_EQ(run({"--device=SIM0002", "set", "BRIG=20"}, 2).code, 0);
    ASSERT_EQ(run({"set", "BRIG=10"}, 1).code, 0);
    EXPECT_EQ(getBrig(2, "SIM0002").out, "BRIG=20\n");
    EXPECT_EQ(getBrig(2, "SIM0001").out, "BRIG=10\n");
}

TEST_F(SimStateFile, CorruptFileWarnsAndIsMovedAsideAtTheNextChange)
{
    const QByteArray corrupt = "{\"format\": 1, \"controllers\": {\"SIM0001\": {\"BRIG\": ";
    writeState(corrupt);
    CliRunResult r = getBrig();
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.out, "BRIG=100\n");
    EXPECT_TRUE(r.err.contains(QLatin1String("factory settings"))) << r.err.toStdString();
    EXPECT_EQ(readFile(path), corrupt); // a read leaves it alone

    ASSERT_EQ(run({"set", "BRIG=150"}).code, 0);
    EXPECT_EQ(readFile(path + ".corrupt"), corrupt);
    r = getBrig();
    EXPECT_EQ(r.out, "BRIG=150\n");
    EXPECT_TRUE(r.err.isEmpty());
}

// Well-formed JSON with the wrong content, or a value beyond 32 bits, is
// as corrupt as broken text.
TEST_F(SimStateFile, WellFormedJsonWithBadContentIsCorruptToo)
{
    ASSERT_EQ(run({"set", "BRIG=150"}).code, 0);
    const QByteArray tooLarge = readFile(path).replace("\"BRIG\": 150", "\"BRIG\": 4294967296");
    for (const QByteArray &text : {QByteArray("[]"), QByteArray("{\"format\": 2, \"controllers\": {}}"),
                                   QByteArray("{\"format\": 1, \"controllers\": {\"SIM0001\": {\"BRIG\": 150}}}"),
                                   QByteArray("{\"format\": 1, \"controllers\": {\"SIM0001\": 5}}"), tooLarge}) {
        writeState(text);
        const CliRunResult r = getBrig();
        EXPECT_EQ(r.out, "BRIG=100\n") << text.constData();
        EXPECT_FALSE(r.err.isEmpty()) << text.constData();
    }
    EXPECT_TRUE(getBrig().err.contains(QLatin1String("BRIG")));
}

TEST_F(SimStateFile, UnsavedChangeFailsTheCommandNamingTheFile)
{
    path = dir.filePath(QStringLiteral("a-file/state.json"));
    QFile blocker(dir.filePath(QStringLiteral("a-file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const CliRunResult r = run({"set", "BRIG=150"});
    EXPECT_EQ(r.code, 1);
    EXPECT_TRUE(r.err.contains(QStringLiteral("\nSimulated controller state not saved to %1: ").arg(path)))
        << r.err.toStdString();
}

// Controllers run at once keep every change in one save, or each reports it lost.
TEST_F(SimStateFile, EveryControllerOfAnAllRunKeepsItsChangeOrFails)
{
    const QStringList setAll{"--all", "set", "BRIG=150"};
    ASSERT_EQ(run(setAll, 3).code, 0);
    for (const char *serial : {"SIM0001", "SIM0002", "SIM0003"})
        EXPECT_EQ(getBrig(3, serial).out, "BRIG=150\n");
    path = dir.filePath(QStringLiteral("folder"));
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder")));
    const CliRunResult r = run(setAll, 3);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err.count(QStringLiteral("not saved to %1").arg(path)), 3) << r.err.toStdString();
}

TEST_F(SimStateFile, WhatIsNoRegularFileIsNeverMovedOrReplaced)
{
    QStringList names{QStringLiteral("folder")};
    ASSERT_TRUE(QDir(dir.path()).mkdir(names.last()));
    // A character device of our own, so a fault here cannot harm the real /dev/null.
    if (::mknod(QFile::encodeName(dir.filePath(QStringLiteral("null"))).constData(), S_IFCHR | 0666, makedev(1, 3)) == 0)
        names << QStringLiteral("null");
    for (const QString &name : std::as_const(names)) {
        path = dir.filePath(name);
        struct stat before{};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &before), 0);
        CliRunResult r = getBrig();
        EXPECT_EQ(r.code, 0);
        EXPECT_EQ(r.out, "BRIG=100\n");
        EXPECT_TRUE(r.err.contains(QStringLiteral("Cannot read %1: not a regular file").arg(path))) << r.err.toStdString();
        r = run({"set", "BRIG=33"});
        EXPECT_EQ(r.code, 1) << qPrintable(name);
        EXPECT_TRUE(r.err.contains(QStringLiteral("not saved to %1").arg(path))) << r.err.toStdString();
        struct stat after{};
        ASSERT_EQ(::stat(QFile::encodeName(path).constData(), &after), 0);
        EXPECT_EQ(after.st_mode, before.st_mode);
        EXPECT_EQ(after.st_ino, before.st_ino);
    }
    EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("*.corrupt*")}).isEmpty());
}

TEST_F(SimStateFile, CorruptFileGoesAsideUnderAFreshName)
{
    QFile taken(path + ".corrupt");
    ASSERT_TRUE(taken.open(QIODevice::WriteOnly));
    taken.write("someone else's notes");
    taken.close();
    writeState("{ broken");
    ASSERT_EQ(run({"set", "BRIG=150"}).code, 0);
    EXPECT_EQ(readFile(path + ".corrupt"), "someone else's notes");
    EXPECT_EQ(readFile(path + ".corrupt.1"), "{ broken");
    EXPECT_EQ(getBrig().out, "BRIG=150\n");
}

// Two programs on one state file: each save merges into what the other wrote.
TEST_F(SimStateFile, SavesOfTwoProgramsKeepEachOthersChanges)
{
    SimBus window, cli;
    window.addSane(1);
    cli.addSane(1);
    SimState *windowState = SimState::attach(window, path, nullptr);
    SimState *cliState = SimState::attach(cli, path, nullptr);
    ASSERT_TRUE(windowState && cliState);

    SimUnit *w = window.units().first();
    SimUnit *c = cli.units().first();
    c->firmware().setParam("BRIG", 33);
    cli.paramsChanged(c);
    w->firmware().setParam("MIRR", 1);
    window.paramsChanged(w);
    EXPECT_EQ(w->firmware().param("BRIG"), 33u) << "the other's change reached this program";
    EXPECT_TRUE(windowState->saveError().isEmpty());

    SimBus later;
    later.addSane(1);
    SimState::attach(later, path, nullptr);
    EXPECT_EQ(later.units().first()->firmware().param("BRIG"), 33u);
    EXPECT_EQ(later.units().first()->firmware().param("MIRR"), 1u);
}

TEST_F(SimStateFile, HeldLockMakesTheSaveFailNotWait)
{
    SimBus bus;
    bus.addSane(1);
    SimState *state = SimState::attach(bus, path, nullptr);
    FileLock other(path + QStringLiteral(".lock"));
    ASSERT_TRUE(other.lock(0, nullptr));
    QString error;
    EXPECT_FALSE(state->save(*bus.units().first(), &error));
    EXPECT_TRUE(error.contains(QStringLiteral("Cannot lock %1.lock: test_cli (process %2) holds it").arg(path).arg(QCoreApplication::applicationPid())))
        << error.toStdString();
    EXPECT_FALSE(QFile::exists(path));
    // Successes warn of nothing; a failure after a success is news again.
    QStringList warned;
    state->onWarning = [&warned](const QString &text) { warned << text; };
    other.unlock();
    EXPECT_TRUE(state->save(*bus.units().first(), &error));
    EXPECT_TRUE(state->save(*bus.units().first(), &error));
    EXPECT_TRUE(state->saveError().isEmpty());
    ASSERT_TRUE(other.lock(0, nullptr));
    EXPECT_FALSE(state->save(*bus.units().first(), &error));
    EXPECT_EQ(warned, QStringList{error});
}

TEST(SimStateDefault, WindowAndCommandLineShareTheDefaultFile)
{
    EXPECT_TRUE(SimState::defaultPath().endsWith(QLatin1String("/corvane/corvane-config/simulated-controllers.json")));
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
    EXPECT_EQ(runCli({"--simulate", "set", "BRIG=150"}, &out), 0);
    EXPECT_EQ(runCli({"--simulate", "get", "BRIG"}, &out), 0);
    EXPECT_EQ(out, QByteArray("BRIG=150\n"));
    EXPECT_TRUE(QFile::exists(home.filePath(QStringLiteral("data/corvane/corvane-config/simulated-controllers.json"))));
    EXPECT_EQ(runCli({"--simulate", "get", "bogus"}, &out), 2);
    EXPECT_EQ(runCli({"--simulate=2", "get"}, &out), 1);
}

// Real hardware: nothing simulated, no file read or written, no faults taken.
// (Loading and saving through the same way in is the command line's test above.)
TEST(SimStateAttach, HardwareTakesNoSimulation)
{
    QTemporaryDir dir;
    const Simulation hardware = startSimulation(0, dir.filePath(QStringLiteral("state.json")),
                                                QStringLiteral("SIM0001:never-ready"));
    EXPECT_EQ(hardware.bus, nullptr);
    EXPECT_FALSE(hardware.ok());
}
