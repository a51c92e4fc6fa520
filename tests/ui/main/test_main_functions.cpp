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
    // The function a write of tag 0 asked for (the report's wire form is the device layer's).
    uint8_t function(int report) const { return uint8_t(unit->received().at(report).at(13)); }

    SimUnit *unit = nullptr;
};

TEST_F(FunctionsTest, PatternAndRestartSendTheirReports)
{
    unit->restartDelayMs = 30;
    button("butPattern")->click();
    ASSERT_EQ(unit->received().size(), 1);
    EXPECT_TRUE(unit->firmware().testPattern());
    EXPECT_TRUE(button("butPattern")->isEnabled());

    unit->clearReceived();
    button("butRestart")->click();
    ASSERT_EQ(unit->received().size(), 2);
    EXPECT_EQ(function(1), 0x01);
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

// A refused function is named; a refused reset reads nothing back.
TEST_F(FunctionsTest, RefusedFunctionsAreReported)
{
    unit->faults().errorStatus = 0xC3;
    for (const char *name : {"butPattern", "butDefault"}) {
        button(name)->click();
        EXPECT_TRUE(button(name)->isEnabled()) << name;
    }
    EXPECT_EQ(errorTexts(), (QList<QString>{"Pattern Error = 0x80C3 (Wrong Crypt Code)",
                                            "Reset Error = 0x80C3 (Wrong Crypt Code)"}));
    EXPECT_EQ(commandCount(unit, CmdReadParam), 0);
    EXPECT_TRUE(window->session().loaded());
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
    EXPECT_EQ(function(1), 0x46);
    EXPECT_EQ(commandCount(unit, CmdReadParam), 21);
    EXPECT_NE(unit->firmware().param("BRIG"), 7u);
    EXPECT_TRUE(window->session().loaded());
    EXPECT_TRUE(button("butDefault")->isEnabled());
    EXPECT_TRUE(errorTexts().isEmpty());
}

} // namespace
