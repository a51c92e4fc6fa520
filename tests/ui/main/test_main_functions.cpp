#include "test_main_support.h"

#include "device/SimUnit.h"

namespace {

constexpr uint8_t CmdReadParam = 0xEC;

class FunctionsTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        unit = bus.add(SimControllerModel::sane(1));
        start();
        ASSERT_TRUE(isOpen("SIM0001"));
        unit->clearReceived();
    }

    QPushButton *button(const char *name) const { return find<QPushButton>(name); }

    // The command report as the wire carries it, up to its payload's end.
    static QByteArray head(const QByteArray &report) { return report.left(3 + uint8_t(report.at(1))); }

    QByteArray functionReport(uint8_t function) const
    {
        const uint16_t word = unit->firmware().writeWord();
        QByteArray r = QByteArray::fromHex("030BED0000000000000000");
        r.append(char(word & 0xFF)).append(char(word >> 8)).append(char(function));
        return r;
    }

    SimUnit *unit = nullptr;
};

TEST_F(FunctionsTest, PatternAndRestartSendTheirReports)
{
    unit->restartDelayMs = 30;
    button("butPattern")->click();
    ASSERT_EQ(unit->received().size(), 1);
    EXPECT_EQ(head(unit->received()[0]), QByteArray::fromHex("0304EE20000000"));
    EXPECT_TRUE(unit->firmware().testPattern());
    EXPECT_TRUE(button("butPattern")->isEnabled());

    unit->clearReceived();
    button("butRestart")->click();
    ASSERT_EQ(unit->received().size(), 2);
    EXPECT_EQ(head(unit->received()[0]), QByteArray::fromHex("0303EF000001"));
    EXPECT_EQ(head(unit->received()[1]), functionReport(0x01));
    EXPECT_TRUE(button("butRestart")->isEnabled());
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(FunctionsTest, RestartLeavesTheBusAndRejoins)
{
    unit->restartDelayMs = 50;
    button("butRestart")->click();
    EXPECT_EQ(commandCount(unit, CmdReadParam), 0); // nothing is re-read by the click itself

    ASSERT_TRUE(waitFor([&] { return noDeviceShown(); }));
    EXPECT_FALSE(editorShown());
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    EXPECT_EQ(commandCount(unit, CmdReadParam), 21);
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(FunctionsTest, RefusedPatternIsReported)
{
    unit->faults().errorStatus = 0xC3;
    button("butPattern")->click();
    EXPECT_EQ(errorTexts(), QList<QString>{"Pattern Error = 0x80C3 (Wrong Crypt Code)"});
    EXPECT_TRUE(button("butPattern")->isEnabled());
}

TEST_F(FunctionsTest, AnsweringNoToTheResetSendsNothing)
{
    confirmAnswer = mrNo;
    button("butDefault")->click();

    ASSERT_EQ(TMsgBox::testCalls().size(), 1);
    const TMsgBox::Call &ask = TMsgBox::testCalls().first();
    EXPECT_EQ(ask.MsgText, "Do you want to reset all parameters\r\nto their default values?");
    EXPECT_EQ(ask.CaptionTitle, "Confirm");
    EXPECT_EQ(ask.DlgType, mtConfirmation);
    EXPECT_EQ(ask.Buttons, mbYes | mbNo);
    EXPECT_FALSE(ask.MsgBeep);
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_TRUE(window->session().loaded());
}

TEST_F(FunctionsTest, ResetRestoresDefaultsAndReadsThemBack)
{
    ASSERT_TRUE(unit->firmware().setParam("BRIG", 7));
    confirmAnswer = mrYes;
    button("butDefault")->click();

    ASSERT_GE(unit->received().size(), 2);
    EXPECT_EQ(head(unit->received()[0]), QByteArray::fromHex("0303EF000001"));
    EXPECT_EQ(head(unit->received()[1]), functionReport(0x46));
    EXPECT_EQ(commandCount(unit, CmdReadParam), 21);
    EXPECT_NE(unit->firmware().param("BRIG"), 7u);
    EXPECT_TRUE(window->session().loaded());
    EXPECT_TRUE(button("butDefault")->isEnabled());
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(FunctionsTest, FailedResetDoesNotReread)
{
    unit->faults().errorStatus = 0xC3;
    button("butDefault")->click();

    EXPECT_EQ(errorTexts(), QList<QString>{"Reset Error = 0x80C3 (Wrong Crypt Code)"});
    EXPECT_EQ(commandCount(unit, CmdReadParam), 0);
    EXPECT_TRUE(window->session().loaded());
    EXPECT_TRUE(button("butDefault")->isEnabled());
}

} // namespace
