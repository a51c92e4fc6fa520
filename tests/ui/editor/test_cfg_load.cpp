// Loading the controller's parameters into the editor.
#include "CfgTestHost.h"

namespace {

using CfgLoadTest = CfgFixture;

TEST_F(CfgLoadTest, FullLoadFillsEveryGroupWithoutRecordingAChange)
{
    auto model = SimControllerModel::sane(1);
    plug(model);
    unit->firmware().setParam("KTIM", 0x00000F19);
    unit->firmware().setParam("STUP", 0x32FF8000);
    unit->firmware().setParam("BRIG", 250);
    unit->firmware().setParam("COL0", 0x00010203);
    unit->firmware().setParam("MIRR", 0x00010001);
    load();

    ASSERT_TRUE(loaded());
    ASSERT_EQ(cfg.params().size(), 21);
    const char *order[] = {"LMAX", "KTIM", "STUP", "CPRO", "LPRO", "LAYO", "BRIG",
                           "COL0", "COL1", "MIRR", "SCFG", "MCHN", "MCNT", "MXOR",
                           "MBEG", "1CFG", "2CFG", "3CFG", "4CFG", "5CFG", "6CFG"};
    for (int i = 0; i < 21; ++i)
        EXPECT_EQ(cfg.params()[i].Code, QByteArray(order[i]));
    EXPECT_FALSE(session.changed());

    EXPECT_EQ(session.capacity(), 4096);
    EXPECT_EQ(win.capacity->text(), "4096 LEDs");
    // BRIG is shown clamped, kept as the device holds it, and not a change.
    const std::pair<const char *, int> controls[] = {
        {"edKeyBoot", 500}, {"edKeyMSC", 300}, {"edStartupR", 0}, {"edStartupG", 128}, {"edStartupB", 255},
        {"edStartupTime", 500}, {"edBright", 200}, {"cbLedCol0", 3}, {"cbLedCol3", 0}, {"cbLedCol4", 5},
        {"chkStripeMirror", 1}, {"chkMirrorX", 0}, {"chkMirrorY", 1}, {"edStripeCount", 512},
        {"edStripeChannels", 8}, {"edMatrixX", 2}, {"edMatrixLedY", 16}, {"cbLedOrder", 1}, {"cbFirstLed", 0},
        {"edWS2812per", 119}, {"edWS2821bw", 191}, {"cbAPA102clk", 1}};
    for (const auto &[name, expected] : controls)
        EXPECT_EQ(shown(name), expected) << name;
    EXPECT_EQ(value("BRIG"), 250u);
    EXPECT_EQ(label("labStripeLeds")->text(), "Max. 1024");
    EXPECT_EQ(label("labChannels")->text(), "Max. 8");

    EXPECT_FALSE(win.send->isEnabled());
    EXPECT_TRUE(boxes().isEmpty());
}

TEST_F(CfgLoadTest, DoInitWhileLoadedDoesNothing)
{
    loadSane();
    unit->firmware().setParam("BRIG", 50);
    spin("edMatrixX")->setValue(1); // a change the preview would show on a redraw
    const QPixmap before = label("panImg")->pixmap();
    cfg.DoInit();
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_EQ(spin("edBright")->value(), 100);
    EXPECT_EQ(label("panImg")->pixmap().toImage(), before.toImage());
}

TEST_F(CfgLoadTest, AReloadLeavesTheEditorBound)
{
    loadSane();
    load();
    ASSERT_TRUE(loaded());
    spin("edBright")->setValue(120);
    EXPECT_EQ(value("BRIG"), 120u);
    EXPECT_TRUE(win.send->isEnabled());
    EXPECT_EQ(win.bar->currentMessage(), "Parameter changed");
}

TEST_F(CfgLoadTest, ShortAnswerFailsWithBadData)
{
    plug();
    // LMAX answered with only two data bytes.
    unit->faults().script << ReplyReport(2, 0xEC, QByteArray("\x10\x00", 2));
    load();
    EXPECT_FALSE(loaded());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_EQ(boxes()[0].MsgText, "Error reading Config = 0xB000 (Bad Data in Frame)");
    EXPECT_EQ(boxes()[0].DlgType, mtError);
    EXPECT_EQ(boxes()[0].CaptionTitle, "Config error");
    EXPECT_EQ(boxes()[0].Buttons, TMsgBut(mbClose));
    EXPECT_TRUE(boxes()[0].MsgBeep);
}

TEST_F(CfgLoadTest, NoTransportFailsAsAnUnreachableDevice)
{
    load();
    EXPECT_FALSE(loaded());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].MsgText.startsWith("Error reading Config = 0xE000"));
}

// A load that breaks off must never let values of an earlier load (maybe of
// another controller) reach this one.
TEST_F(CfgLoadTest, FailedReloadNeverLeadsToAWrite)
{
    loadSane();
    spin("edBright")->setValue(150); // edits of the earlier load, never sent
    w<QCheckBox>("chkMirrorY")->setChecked(true);
    unit->faults().failAfterTransfers = 8;
    load();
    ASSERT_FALSE(loaded());
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_LT(cfg.params().size(), 21);
    EXPECT_FALSE(w<QCheckBox>("chkMirrorY")->isChecked()) << "nothing of the earlier load is shown";
    unit->faults().failAfterTransfers = -1;
    unit->clearReceived();

    cfg.SendConfig();
    EXPECT_TRUE(writtenTags().isEmpty());
    EXPECT_EQ(boxes().size(), 1); // nothing to report: nothing was changed
    EXPECT_FALSE(win.send->isEnabled());

    // Edits after the failed load reach nothing either.
    spin("edStripeCount")->setValue(100);
    cfg.SendConfig();
    EXPECT_TRUE(writtenTags().isEmpty());
    EXPECT_EQ(unit->firmware().param("BRIG"), 100u);
}

TEST_F(CfgLoadTest, SendAfterLosingTheDeviceFailsVisibly)
{
    loadSane();
    spin("edBright")->setValue(150);
    bus.unplug(unit);
    QCoreApplication::processEvents();
    cfg.SendConfig();
    ASSERT_EQ(boxes().size(), 1);
    EXPECT_TRUE(boxes()[0].MsgText.startsWith("Error writing Config = 0xE000"));
    EXPECT_TRUE(win.send->isEnabled());
}

} // namespace

namespace {

// The handlers of the earlier load must not take the reload's values, or
// the protocol limits it sets, for edits.
TEST_F(CfgLoadTest, ReloadOfAClampingConfigurationRecordsNoChange)
{
    loadSane();
    unit->firmware().setParam("LPRO", 3); // one channel: clamps the 8 channels shown
    load();
    ASSERT_TRUE(loaded());
    EXPECT_EQ(spin("edStripeChannels")->value(), 1);
    EXPECT_EQ(value("SCFG"), 512u | 8u << 16);
    EXPECT_EQ(value("MCHN"), 2u | 2u << 16);
    EXPECT_FALSE(session.changed());
    EXPECT_FALSE(win.send->isEnabled());
    EXPECT_TRUE(win.bar->currentMessage().isEmpty());
}

} // namespace
