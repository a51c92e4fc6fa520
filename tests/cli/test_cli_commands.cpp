// The commands against simulated controllers, in-process: output, exit code
// and what reached the controller.
#include "CliTestSupport.h"
#include "fake_hidapi.h"

#include "core/files/ProfileFile.h"
#include "device/SimUnit.h"

#include <QFile>
#include <QJsonArray>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>

namespace {
// Command bytes of the 0xED reports a unit received with a non-zero tag:
// the parameter writes.
QList<QByteArray> writtenTags(const SimUnit *unit)
{
    QList<QByteArray> tags;
    for (const QByteArray &r : unit->received()) {
        if (uint8_t(r[2]) == 0xED && r.mid(3, 4) != QByteArray(4, '\0'))
            tags << r.mid(3, 4);
    }
    return tags;
}
} // namespace

using CliCommands = CliOneController;

TEST_F(CliCommands, ListShowsSerialReleaseAndAccess)
{
    SimControllerModel second = SimControllerModel::sane(2);
    second.release = 0x479F;
    bus.add(second);
    const CliRunResult r = run({QStringLiteral("list")});
    EXPECT_EQ(r.code, 0);
    EXPECT_EQ(r.lines(), (QStringList{QStringLiteral("SIM0001 0x4790 ok"), QStringLiteral("SIM0002 0x479f ok")}));
    EXPECT_EQ(run({"list", "--device", "sim0002"}).lines(), QStringList{"SIM0002 0x479f ok"});
    EXPECT_EQ(run({"list", "--device", "SIM0003"}).code, 3);
    EXPECT_TRUE(unit->received().isEmpty());
}

TEST_F(CliCommands, InfoShowsTheReadoutsAndCapacity)
{
    const CliRunResult r = run({QStringLiteral("info")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines(), (QStringList{QStringLiteral("Serial: SIM0001"), QStringLiteral("Version: v2.3"),
                                      QStringLiteral("Code: 4A2F"), QStringLiteral("Info: CORVANE-8CH"),
                                      QStringLiteral("Date: 2026-11-20"), QStringLiteral("Config: v1.1"),
                                      QStringLiteral("Capacity: 4096 LEDs")}));
}

TEST_F(CliCommands, InfoFailsWithTheIdentificationMessage)
{
    unit->firmware().model().bios.ToolVers = 12;
    const CliRunResult r = run({QStringLiteral("info")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Config Tool v1.2.x required\n"));
    EXPECT_TRUE(r.lines().contains(QStringLiteral("Config: v1.2")));
    EXPECT_TRUE(r.lines().contains(QStringLiteral("Capacity: ---")));
}

TEST_F(CliCommands, GetReadsAllTwentyOneInTagOrder)
{
    const CliRunResult r = run({QStringLiteral("get")});
    EXPECT_EQ(r.code, 0);
    ASSERT_EQ(r.lines().size(), 21);
    EXPECT_EQ(r.lines().first(), QStringLiteral("LMAX=4096"));
    EXPECT_EQ(r.lines()[2], QStringLiteral("STUP=840966176")); // 0x32202020, unsigned decimal
    EXPECT_EQ(r.lines().last(), QStringLiteral("6CFG=3"));
}

TEST_F(CliCommands, GetPrintsInTheOrderAskedAndReadsInTagOrder)
{
    unit->firmware().setParam("STUP", 0xFF000000);
    unit->clearReceived();
    const CliRunResult r = run({QStringLiteral("get"), QStringLiteral("stup"), QStringLiteral("LMAX")});
    EXPECT_EQ(r.lines(), (QStringList{QStringLiteral("STUP=4278190080"), QStringLiteral("LMAX=4096")}));
    // Identification (0xE3, 0xE5), then exactly the two reads.
    ASSERT_EQ(unit->received().size(), 4);
    EXPECT_EQ(unit->received()[2].mid(2, 5), QByteArray("\xEC" "LMAX"));
    EXPECT_EQ(unit->received()[3].mid(2, 5), QByteArray("\xEC" "STUP"));
}

// The whole document, key order included, as a script reads it.
TEST_F(CliCommands, DryRunSaysWhatWouldChangeAndWritesNothing)
{
    const CliRunResult r = run({"--json", "--dry-run", "set", "brightness_percent=150"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.out, R"({
  "format": 2,
  "command": "set",
  "ok": true,
  "exit_code": 0,
  "serial": "SIM0001",
  "changed": true,
  "changes": [
    {
      "field": "brightness_percent",
      "from": 100,
      "to": 150
    }
  ]
}
)");
    const CliRunResult none = run({"--dry-run", "set", "brightness_percent=100"});
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.out.isEmpty());
    const CliRunResult tooMany = run({"--dry-run", "set", "SCFG=0x80400"});
    EXPECT_EQ(tooMany.code, 1);
    EXPECT_EQ(writtenTags(unit), QList<QByteArray>{});
    EXPECT_EQ(unit->firmware().param("BRIG"), 100u);
}

TEST_F(CliCommands, SetWritesOnlyChangedParametersInTagOrder)
{
    const CliRunResult r = run({QStringLiteral("set"), QStringLiteral("STUP=0xFF000000"), QStringLiteral("BRIG=150"),
                                QStringLiteral("KTIM=38450")}); // KTIM as it is
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(writtenTags(unit), (QList<QByteArray>{"STUP", "BRIG"}));
    EXPECT_EQ(unit->firmware().param("BRIG"), 150u);
    EXPECT_EQ(unit->firmware().param("STUP"), 0xFF000000u);
    EXPECT_EQ(r.lines(), (QStringList{QStringLiteral("STUP=4278190080"), QStringLiteral("BRIG=150")}));
}

TEST_F(CliCommands, SetRefusesALayoutTooLargeAndWritesNothing)
{
    const CliRunResult r = run({QStringLiteral("set"), QStringLiteral("SCFG=0x80400")}); // 1024 x 8
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Too many LEDs in stripe config (max. 4096)\n"));
    EXPECT_TRUE(writtenTags(unit).isEmpty());
}

TEST_F(CliCommands, RefusedWriteStopsWithTheWindowsMessage)
{
    unit->faults().writeStatus.insert("BRIG", 0xC3);
    const CliRunResult r = run({QStringLiteral("set"), QStringLiteral("STUP=0"), QStringLiteral("BRIG=150"),
                                QStringLiteral("MIRR=1")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Error writing Config = 0x80C3 (Wrong Crypt Code): BRIG\n"));
    // STUP went through before the refusal, MIRR was never tried.
    EXPECT_EQ(writtenTags(unit), (QList<QByteArray>{"STUP", "BRIG"}));
    EXPECT_EQ(r.lines(), QStringList{QStringLiteral("STUP=0")});
    EXPECT_EQ(unit->firmware().param("MIRR"), 0u);
}

TEST_F(CliCommands, FailedReadReportsTheReadMessage)
{
    unit->faults().failAfterTransfers = 6; // identification takes 4 transfers, one read 2
    const CliRunResult r = run({QStringLiteral("get")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Error reading Config = 0xE000 (Communication Error)\n"));
    EXPECT_TRUE(r.out.isEmpty());
}

// Identification takes four transfers (two commands); restart and reset
// send a preparing command of two transfers first.
TEST_F(CliCommands, DeviceFunctionsReportTheirFailures)
{
    unit->faults().failAfterTransfers = 6;
    CliRunResult r = run({QStringLiteral("restart")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Restart Error = 0xE000 (Communication Error)\n"));

    unit->faults().failAfterTransfers = 4;
    r = run({QStringLiteral("test-pattern")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Pattern Error = 0xE000 (Communication Error)\n"));

    unit->firmware().setParam("BRIG", 150);
    unit->faults().failAfterTransfers = 6;
    r = run({QStringLiteral("reset-defaults")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Reset Error = 0xE000 (Communication Error)\n"));
    EXPECT_EQ(unit->firmware().param("BRIG"), 150u);
}

TEST_F(CliCommands, DeviceFunctionsSucceed)
{
    EXPECT_EQ(run({QStringLiteral("test-pattern")}).code, 0);
    EXPECT_TRUE(unit->firmware().testPattern());

    unit->firmware().setParam("BRIG", 150);
    const CliRunResult reset = run({QStringLiteral("reset-defaults")});
    EXPECT_EQ(reset.code, 0);
    EXPECT_EQ(unit->firmware().param("BRIG"), 100u);
    EXPECT_EQ(reset.lines().size(), 21);
    EXPECT_TRUE(reset.lines().contains(QStringLiteral("BRIG=100")));

    EXPECT_EQ(run({QStringLiteral("restart")}).code, 0);
    DrainEvents();
    EXPECT_FALSE(unit->plugged()); // off the bus while it restarts
}

TEST_F(CliCommands, ControllerWithoutFirmwareIsNotTouched)
{
    unit->firmware().model().bios.FileCode = 0;
    const CliRunResult r = run({QStringLiteral("get")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("<<< NO BIOS >>>\n"));
    for (const QByteArray &report : unit->received())
        EXPECT_NE(uint8_t(report[2]), 0xEC);
}

// Choosing the controller.
TEST_F(CliCommands, DeviceIsChosenBySerialInAnyLetterCase)
{
    SimUnit *second = bus.add(SimControllerModel::sane(2));
    const CliRunResult r = run({QStringLiteral("--device"), QStringLiteral("sim0002"), QStringLiteral("set"),
                                QStringLiteral("BRIG=42")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(second->firmware().param("BRIG"), 42u);
    EXPECT_EQ(unit->firmware().param("BRIG"), 100u);
}

TEST_F(CliCommands, SeveralControllersNeedDevice)
{
    bus.add(SimControllerModel::sane(2));
    const CliRunResult r = run({QStringLiteral("get")});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Several CORVANE connected, choose one with --device: SIM0001, SIM0002\n"));
    EXPECT_TRUE(unit->received().isEmpty());
}

TEST_F(CliCommands, UnknownSerialOrEmptyBusExitsThree)
{
    CliRunResult r = run({QStringLiteral("--device=SIM0009"), QStringLiteral("info")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("No CORVANE with serial number SIM0009 connected (connected: SIM0001)\n"));

    bus.unplug(unit);
    DrainEvents();
    r = run({QStringLiteral("get")});
    EXPECT_EQ(r.code, 3);
    EXPECT_EQ(r.err, QStringLiteral("No CORVANE connected\n"));
    r = run({QStringLiteral("--json"), QStringLiteral("list")});
    EXPECT_EQ(r.code, 3);
    EXPECT_TRUE(r.json().value(QStringLiteral("controllers")).toArray().isEmpty());
}

TEST_F(CliCommands, TraceWritesEveryReport)
{
    const CliRunResult r = run({QStringLiteral("--trace"), QStringLiteral("get"), QStringLiteral("BRIG")});
    EXPECT_EQ(r.code, 0);
    const QStringList trace = r.err.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(trace.size(), 6); // three commands, each sent and answered once
    EXPECT_TRUE(trace[4].startsWith(QLatin1String("> 03 06 EC 42 52 49 47")));
    EXPECT_TRUE(trace[5].startsWith(QLatin1String("< 04 EC 64 00 00 00")));
}

TEST(CliHidAccess, FailedStartExitsOneWithTheReason)
{
    FakeHid::Reset();
    CliRunResult r = RunCliArgs({QStringLiteral("list")});
    EXPECT_EQ(r.code, 3) << r.err.toStdString(); // working access, nothing plugged in

    FakeHid::FailInit(-1, L"Couldn't create udev context");
    r = RunCliArgs({QStringLiteral("list")});
    FakeHid::Reset();
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Cannot access USB HID devices: Couldn't create udev context\n"));
    EXPECT_TRUE(r.out.isEmpty());
}

TEST(CliTerminal, EscapeSequencesFromOutsideAreShownNotObeyed)
{
    SimControllerModel model = SimControllerModel::sane(1);
    model.serial = QStringLiteral("SIM\x1b]2;owned\x07");
    SimBus bus;
    bus.add(model);
    QTemporaryDir dir;
    QFile profile(dir.filePath(QStringLiteral("p.cvn")));
    ASSERT_TRUE(profile.open(QIODevice::WriteOnly));
    profile.write("[GLOBAL]\nID=" + ProfileFile::formatValue(model.bios.SysId) + "\n[PARAMETER]\nBRIG=\x1b[2J\n");
    profile.close();
    const QStringList cases[] = {{"list"}, {"--device", "\x1b[2J", "info"}, {"set", "BR\x1b[2JIG=1"},
                                 {"set", "BRIG=\x1b]2;owned\x07"}, {"load-profile", profile.fileName()},
                                 {"load-profile", dir.filePath("\x1b[8m.cvn")}};
    for (const QStringList &args : cases) {
        const CliRunResult r = RunCliArgs(args, &bus);
        const QString shown = r.out + r.err;
        EXPECT_FALSE(shown.contains(QChar(0x1b)) || shown.contains(QChar(0x07))) << qPrintable(args.join(' '));
        EXPECT_TRUE(shown.contains(QStringLiteral("\\x1b"))) << qPrintable(shown);
    }
}

// A controller this user may not open: the hint once, the program's own
// log lines only when asked for.
TEST(CliHidAccess, PermissionHintOnceAndLogLinesOnlyWhenVerbose)
{
    QTemporaryDir dir;
    const QString node = dir.filePath("hidraw0");
    QFile file(node);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    FakeHid::Reset();
    FakeHidDevice device;
    device.path = node.toStdString();
    device.openErrno = EACCES;
    FakeHid::Devices().append(device);
    const CliRunResult quiet = RunCliArgs({"--json", "info"});
    const CliRunResult verbose = RunCliArgs({"--verbose", "info"});
    const CliRunResult listed = RunCliArgs({"list"});
    FakeHid::Reset();

    EXPECT_EQ(quiet.code, 1);
    EXPECT_EQ(quiet.err.count("No permission"), 1) << quiet.err.toStdString();
    EXPECT_TRUE(quiet.err.contains("The node is -rw-")) << quiet.err.toStdString();
    EXPECT_FALSE(quiet.err.contains("corvane.hidapi:"));
    EXPECT_EQ(quiet.json()["error"].toObject()["code"].toString(), "permission");
    EXPECT_TRUE(verbose.err.contains("corvane.hidapi: No permission")) << verbose.err.toStdString();
    EXPECT_EQ(listed.lines(), QStringList{"FAKE1 0x4790 cannot be opened: No permission to open the CORVANE at " + node
                                          + ". (corvane-cli info says more)"});
}
