// Named fields, every controller at once, and watching the bus.
#include "CliTestSupport.h"

#include "core/files/ProfileFile.h"
#include "core/params/ParamModel.h"
#include "device/SimUnit.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <csignal>

namespace {

int writes(const SimUnit *unit)
{
    int n = 0;
    for (const QByteArray &r : unit->received())
        n += uint8_t(r[2]) == 0xED ? 1 : 0;
    return n;
}

using CliFields = CliOneController;

TEST_F(CliFields, GetShowsNamedFieldsInTheOrderAsked)
{
    const CliRunResult r = run({"get", "--fields", "LED.protocol", "scfg", "brightness_percent"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(r.lines(), (QStringList{"led.protocol=ws2811", "stripe.leds_per_channel=512", "stripe.channels=8",
                                      "brightness_percent=100"}));
    EXPECT_EQ(run({"get", "--fields"}).lines().size(), int(paramFields().size()));
    const QJsonObject fields = run({"--json", "get", "matrix.first_led", "keys.pc_disk_ms"}).json()["fields"].toObject();
    EXPECT_EQ(fields["matrix.first_led"].toString(), "top_left");
    EXPECT_EQ(fields["keys.pc_disk_ms"].toInt(), 3000);
    // A list index the controller holds beyond the items is shown as its number.
    ASSERT_TRUE(unit->firmware().setParam("COL0", 0x00000007));
    EXPECT_EQ(run({"get", "channel1.color_order"}).lines(), QStringList{"channel1.color_order=7"});
}

TEST_F(CliFields, SetTakesFieldsBesideTags)
{
    const CliRunResult r = run({"set", "stripe.leds_per_channel=300", "stripe.channels=6", "led.protocol=APA106",
                                "channel8.color_order=bgr", "brig=150"});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    // Echoed as asked: fields by name, tags as words.
    EXPECT_EQ(r.lines(), (QStringList{"stripe.leds_per_channel=300", "stripe.channels=6", "led.protocol=apa106",
                                      "channel8.color_order=bgr", "BRIG=150"}));
    EXPECT_EQ(unit->firmware().param("SCFG"), uint32_t(300 | 6 << 16));
    EXPECT_EQ(unit->firmware().param("LPRO"), 1u);
    EXPECT_EQ(unit->firmware().param("COL1"), 0x02050505u);
    EXPECT_EQ(unit->firmware().param("BRIG"), 150u);
    EXPECT_EQ(writes(unit), 4);
}

TEST_F(CliFields, ValuesOutsideTheirFieldsAreRefusedBeforeAnyWrite)
{
    const QList<SimParam> before = unit->firmware().params();
    struct Case {
        QStringList args;
        QString reason;
    };
    const Case cases[] = {
        {{"set", "BRIG=150", "brightness_percent=201"}, "brightness_percent takes 0 to 200 %"},
        {{"set", "stripe.leds_per_channel=171", "led.protocol=ws2821"},
         "stripe.leds_per_channel takes 1 to 170 with ws2821"},
        {{"set", "SCFG=0x1080200"}, "bits are set outside the parameter's fields"},
    };
    for (const Case &c : cases) {
        unit->clearReceived();
        const CliRunResult r = run(c.args);
        EXPECT_EQ(r.code, 2) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.err.contains(c.reason)) << r.err.toStdString();
        EXPECT_EQ(writes(unit), 0);
    }
    for (const SimParam &p : before)
        EXPECT_EQ(unit->firmware().param(p.tag), p.value) << p.tag.constData();
    // What the session lowers or rounds is said on standard error.
    const CliRunResult lowered = run({"set", "led.protocol=ws2801", "keys.bootloader_ms=510"});
    EXPECT_EQ(lowered.code, 0);
    EXPECT_TRUE(lowered.err.contains("stripe.channels lowered from 8 to 1: ws2801 allows at most 1")) << lowered.err.toStdString();
    EXPECT_TRUE(lowered.err.contains("keys.bootloader_ms kept as 500 instead of 510 (steps of 20)")) << lowered.err.toStdString();
    // --raw writes a word as it is; the controller is the judge then.
    const CliRunResult raw = run({"--raw", "set", "SCFG=0x1080200"});
    EXPECT_EQ(raw.code, 1);
    EXPECT_EQ(raw.err, "Error writing Config = 0x80C4 (Illegal Value/Range): SCFG\n");
}

TEST_F(CliFields, DescribeListsEveryFieldOfTheModel)
{
    const CliRunResult r = run({"describe"});
    ASSERT_EQ(r.lines().size(), int(paramFields().size()) + 8); // the limits' head, six protocols, a note
    EXPECT_TRUE(r.lines()[0].startsWith("capacity ")) << r.lines()[0].toStdString();
    EXPECT_TRUE(r.lines()[8].contains("LPRO bits 0-31")) << r.lines()[8].toStdString();
    EXPECT_TRUE(r.lines()[8].endsWith("ws2811 apa106 ws2821 ws2801 apa102 lpd8803"));
    const QStringList limits = r.lines().mid(int(paramFields().size()));
    EXPECT_EQ(limits[0].simplified(), "LED protocol limits stripe.leds_per_channel stripe.channels matrix.modules_x matrix.modules_y");
    EXPECT_EQ(limits[3].simplified(), "ws2821 170 8 8 8");
    EXPECT_EQ(limits[5].simplified(), "apa102 2048 1 1 1");
    EXPECT_TRUE(unit->received().isEmpty());
}

TEST(CliFleet, AllControllersAtOnceWithTheWorstExitCode)
{
    SimBus bus;
    bus.addSane(3);
    bus.find("SIM0002")->faults().writeStatus.insert("BRIG", 0xC3);
    const CliRunResult r = RunCliArgs({"--all", "set", "brightness_percent=150"}, &bus);
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.lines(), (QStringList{"[SIM0001]", "brightness_percent=150", "[SIM0002]", "[SIM0003]",
                                      "brightness_percent=150"}));
    EXPECT_EQ(r.err, "SIM0002: Error writing Config = 0x80C3 (Wrong Crypt Code): BRIG\n");
    EXPECT_EQ(bus.find("SIM0001")->firmware().param("BRIG"), 150u);
    EXPECT_EQ(bus.find("SIM0002")->firmware().param("BRIG"), 100u);
    EXPECT_EQ(bus.find("SIM0003")->firmware().param("BRIG"), 150u);

    DrainEvents();
}

// Commands for one controller run on every one with --all; those of the bus
// or of one file do not take it.
TEST(CliFleet, WhichCommandsTakeAll)
{
    const std::pair<QStringList, bool> commands[] = {
        {{"list"}, false}, {{"info"}, true}, {{"get"}, true}, {{"set", "BRIG=100"}, true},
        {{"describe"}, false}, {{"save-profile", "p.cvn"}, false}, {{"load-profile", "missing.cvn"}, true},
        {{"restart"}, true}, {{"test-pattern"}, true}, {{"reset-defaults"}, true}, {{"watch"}, false}};
    for (const auto &[args, fleet] : commands) {
        SimBus bus;
        bus.addSane(2);
        const CliRunResult r = RunCliArgs(QStringList{"--all"} + args, &bus);
        EXPECT_EQ(r.err.contains("does not take --all"), !fleet) << r.err.toStdString();
        EXPECT_EQ(r.code == 2, !fleet) << args.first().toStdString();
        DrainEvents();
    }
}

TEST(CliWatch, AppliesTheProfileToAControllerThatJoins)
{
    QTemporaryDir dir;
    SimBus bus;
    SimUnit *first = bus.add(SimControllerModel::sane(1));
    SimUnit *joining = bus.add(SimControllerModel::sane(2), false);
    const QString profile = dir.filePath("stage.cvn");
    QFile f(profile);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[GLOBAL]\nID=" + ProfileFile::formatValue(first->firmware().model().bios.SysId)
            + "\n[PARAMETER]\nLMAX=1\nBRIG=42\n");
    f.close();

    QTimer::singleShot(50, &bus, [&] { bus.plug(joining); });
    QTimer::singleShot(100, &bus, [&] { bus.unplug(first); });
    QTimer stop;
    QObject::connect(&stop, &QTimer::timeout, [&] {
        if (joining->firmware().param("BRIG") == 42 && !first->plugged())
            std::raise(SIGTERM);
    });
    stop.start(20);
    const CliRunResult r = RunCliArgs({"watch", "--apply", profile}, &bus);

    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    // Those present at the start arrive first; the rest as the bus changes.
    const QStringList lines = r.lines();
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines.mid(0, 2), (QStringList{"SIM0001 arrived", "SIM0001 applied"}));
    EXPECT_TRUE(lines.contains("SIM0001 left"));
    EXPECT_EQ(lines.indexOf("SIM0002 applied"), lines.indexOf("SIM0002 arrived") + 1);
    EXPECT_EQ(joining->firmware().param("LMAX"), 4096u);
    EXPECT_EQ(joining->firmware().param("BRIG"), 42u);
}

} // namespace
