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
        EXPECT_EQ(win.bar->currentMessage(), "Parameter changed"); // still pending
    }
    QString statusDuringBox;
};

TEST_F(CfgSendTest, NothingChangedSendsNothing)
{
    loadSane();
    win.bar->showMessage("old");
    cfg.SendConfig();
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_TRUE(win.bar->currentMessage().isEmpty());
    EXPECT_FALSE(win.send->isEnabled());
}

// The capacity shows beside the counts; an arrangement over it is flagged on
// the page of the layout in use as soon as it is loaded or typed.
TEST_F(CfgSendTest, ArrangementOverTheCapacityIsFlaggedWhileTyping)
{
    const QString fits = "4096 LEDs";
    struct Step { const char *control; int value; QString stripe, matrix; };
    const Step steps[] = {
        {nullptr, 0, "Too many LEDs in stripe config (max. 4096)", fits}, // as loaded
        {"edStripeCount", 512, fits, fits},
        {"edStripeCount", 513, "Too many LEDs in stripe config (max. 4096)", fits},
        {"cbLayout", 1, fits, fits},
        {"edMatrixX", 4, fits, fits},
        {"edMatrixLedX", 32, fits, fits},
        {"edMatrixLedY", 17, fits, "Too many LEDs in matrix config (max. 4096)"},
    };
    plug();
    unit->firmware().setParam("SCFG", 1024 | 8 << 16);
    load();
    for (const Step &step : steps) {
        if (auto *s = step.control ? win.findChild<QSpinBox *>(step.control) : nullptr)
            s->setValue(step.value);
        else if (step.control)
            combo(step.control)->setCurrentIndex(step.value);
        for (const auto &[name, text] : {std::pair{"labStripeCapacity", step.stripe}, {"labMatrixCapacity", step.matrix}}) {
            EXPECT_EQ(label(name)->text(), text) << step.control;
            EXPECT_EQ(label(name)->font().bold(), text != fits) << step.control;
        }
    }
}

TEST_F(CfgSendTest, RefusedWriteStopsThereAndKeepsEarlierWrites)
{
    loadSane();
    win.autoSend->setChecked(true);
    unit->faults().writeStatus.insert("BRIG", 0xC3);
    spin("edKeyBoot")->setValue(600);
    spin("edBright")->setValue(150);
    spin("edStripeCount")->setValue(100);
    ASSERT_TRUE(cfg.SaveTimer().isActive());
    cfg.SendConfig();

    expectError("Error writing Config = 0x80C3 (Wrong Crypt Code): BRIG");
    EXPECT_EQ(writtenTags(), (QStringList{"KTIM", "BRIG"}));
    EXPECT_EQ(unit->firmware().param("KTIM") & 0xFF, 30u);
    EXPECT_TRUE(win.send->isEnabled());
    EXPECT_FALSE(cfg.SaveTimer().isActive());

    unit->faults().writeStatus.clear();
    unit->clearReceived();
    TMsgBox::resetTestResponder();
    TMsgBox::setTestResponder([](const TMsgBox::Call &) { return int(mrClose); });
    cfg.SendConfig();
    EXPECT_TRUE(boxes().isEmpty());
    EXPECT_EQ(writtenTags(), (QStringList{"BRIG", "SCFG"}));
    EXPECT_FALSE(session.changed());
}

} // namespace
