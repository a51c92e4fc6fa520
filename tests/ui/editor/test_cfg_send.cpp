// Sending: validation of the editor's arrangement, writing the changed
// parameters, and what a failure leaves behind.
#include "CfgTestHost.h"

namespace {

class CfgSendTest : public CfgFixture {
protected:
    // Records the status bar text while the error box is up.
    void SetUp() override
    {
        CfgFixture::SetUp();
        TMsgBox::setTestResponder([this](const TMsgBox::Call &) {
            statusDuringBox = win.bar->currentMessage();
            return int(mrClose);
        });
    }
    void expectError(const QString &text)
    {
        ASSERT_EQ(boxes().size(), 1);
        EXPECT_EQ(boxes()[0].MsgText, text);
        EXPECT_EQ(boxes()[0].DlgType, mtError);
        EXPECT_TRUE(boxes()[0].CaptionTitle.isEmpty());
        EXPECT_EQ(boxes()[0].Buttons, TMsgBut(mbClose));
        EXPECT_TRUE(boxes()[0].MsgBeep);
        EXPECT_EQ(statusDuringBox, "ERROR");
        EXPECT_TRUE(win.bar->currentMessage().isEmpty());
    }
    QString statusDuringBox;
};

TEST_F(CfgSendTest, NothingChangedSendsNothing)
{
    loadSane();
    win.bar->showMessage("old");
    cfg.SendConfig();
    EXPECT_TRUE(unit->Received().isEmpty());
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_TRUE(win.bar->currentMessage().isEmpty());
    EXPECT_FALSE(win.send->isEnabled());
}

TEST_F(CfgSendTest, ChangedParametersAreWrittenInTagOrder)
{
    loadSane();
    combo("cbLPD8803clk")->setCurrentIndex(0);
    spin("edBright")->setValue(150);
    spin("edKeyMSC")->setValue(200);
    cfg.SendConfig();
    EXPECT_EQ(writtenTags(), (QStringList{"KTIM", "BRIG", "6CFG"}));
    EXPECT_EQ(cfg.CfgOrig, cfg.CfgData);
    EXPECT_EQ(unit->Firmware().Param("BRIG"), 150u);
    EXPECT_FALSE(win.send->isEnabled());
    EXPECT_TRUE(win.bar->currentMessage().isEmpty());
    const QByteArray &first = unit->Received().first();
    EXPECT_EQ(uint8_t(first[1]), 11);
    EXPECT_EQ(uint16_t(uint8_t(first[11]) | uint8_t(first[12]) << 8), unit->Firmware().WriteWord());
    EXPECT_EQ(uint8_t(first[13]), 1);
}

TEST_F(CfgSendTest, StripeEqualToTheCapacityPasses)
{
    loadSane(); // 512 x 8 against 4096
    spin("edBright")->setValue(150);
    cfg.SendConfig();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(writtenTags(), QStringList{"BRIG"});
}

TEST_F(CfgSendTest, StripeOverTheCapacityWritesNothing)
{
    loadSane();
    spin("edStripeCount")->setValue(1024);
    cfg.SendConfig();
    expectError("Too many LEDs in stripe config (max. 4096)");
    EXPECT_TRUE(writtenTags().isEmpty());
    EXPECT_TRUE(win.send->isEnabled());
}

TEST_F(CfgSendTest, MatrixModuleOverTheProtocolLimitFailsFirst)
{
    plug();
    unit->Firmware().SetParam("LMAX", 16);
    unit->Firmware().SetParam("LAYO", 1);
    unit->Firmware().SetParam("LPRO", 2);
    load();
    unit->ClearReceived();
    cfg.SendConfig();
    expectError("Too many LEDs/matrix defined (max. 170)");
    EXPECT_TRUE(writtenTags().isEmpty());
}

TEST_F(CfgSendTest, MatrixOverTheCapacityNamesIt)
{
    plug();
    unit->Firmware().SetParam("LMAX", 2048);
    unit->Firmware().SetParam("LAYO", 1);
    unit->Firmware().SetParam("MCNT", 32 | 32 << 16);
    load();
    cfg.SendConfig();
    expectError("Too many LEDs in matrix config (max. 2048)");
}

TEST_F(CfgSendTest, RefusedWriteStopsThereAndKeepsEarlierWrites)
{
    loadSane();
    win.autoSend->setChecked(true);
    unit->Faults().WriteStatus.insert("BRIG", 0xC3);
    spin("edKeyBoot")->setValue(600);
    spin("edBright")->setValue(150);
    spin("edStripeCount")->setValue(100);
    ASSERT_TRUE(cfg.SaveTimer().isActive());
    cfg.SendConfig();

    expectError("Error writing Config = 0x80C3 (Wrong Crypt Code)");
    EXPECT_EQ(writtenTags(), (QStringList{"KTIM", "BRIG"}));
    EXPECT_EQ(unit->Firmware().Param("KTIM") & 0xFF, 30u);
    EXPECT_TRUE(win.send->isEnabled());
    EXPECT_FALSE(cfg.SaveTimer().isActive());

    unit->Faults().WriteStatus.clear();
    unit->ClearReceived();
    TMsgBox::resetTestResponder();
    TMsgBox::setTestResponder([](const TMsgBox::Call &) { return int(mrClose); });
    cfg.SendConfig();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(writtenTags(), (QStringList{"BRIG", "SCFG"}));
    EXPECT_EQ(cfg.CfgOrig, cfg.CfgData);
}

} // namespace
