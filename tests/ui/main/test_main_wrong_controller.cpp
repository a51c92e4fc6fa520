// Whatever was asked for one controller never reaches another, however the
// device list changes while a question, a pending-events step or the
// auto-send countdown waits.
#include "test_main_support.h"

#include "device/SimUnit.h"
#include "ui/editor/ConfigEditor.h"

#include <QSpinBox>
#include <QStatusBar>

namespace {

class WrongControllerTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        first = bus.add(SimControllerModel::sane(1));
        second = bus.add(SimControllerModel::sane(2));
        start();
        ASSERT_TRUE(isOpen("SIM0001"));
        first->clearReceived();
    }

    // Commands that change a controller: writes, functions, their preparation.
    static int changes(const SimUnit *unit)
    {
        return commandCount(unit, 0xED) + commandCount(unit, 0xEE) + commandCount(unit, 0xEF);
    }

    SimUnit *first = nullptr;
    SimUnit *second = nullptr;
};

TEST_F(WrongControllerTest, ResetConfirmedWhileItsControllerLeftResetsNoOther)
{
    TMsgBox::setTestResponder([this](const TMsgBox::Call &call) {
        if (call.DlgType != mtConfirmation)
            return int(mrClose);
        // The device change is handled while the question is open.
        bus.unplug(first);
        EXPECT_TRUE(waitFor([&] { return isOpen("SIM0002"); }));
        return int(mrYes);
    });
    second->firmware().setParam("BRIG", 7);
    find<QPushButton>("butDefault")->click();

    EXPECT_TRUE(isOpen("SIM0002"));
    EXPECT_EQ(changes(second), 0);
    EXPECT_EQ(second->firmware().param("BRIG"), 7u);
    EXPECT_EQ(errorTexts(), QList<QString>{"Reset Error = 0xE000 (Communication Error)"});
    EXPECT_TRUE(window->session().loaded());
    EXPECT_TRUE(find<QPushButton>("butDefault")->isEnabled());
}

TEST_F(WrongControllerTest, FunctionsWhoseControllerLeftDuringPendingEventsReachNoOther)
{
    const std::pair<const char *, QString> functions[] = {
        {"butRestart", "Restart Error = 0xE000 (Communication Error)"},
        {"butPattern", "Pattern Error = 0xE000 (Communication Error)"},
    };
    for (const auto &[button, message] : functions) {
        second->clearReceived();
        // Announced now, handled in the click's pending-events step.
        bus.unplug(first);
        find<QPushButton>(button)->click();

        EXPECT_TRUE(isOpen("SIM0002")) << button;
        EXPECT_EQ(changes(second), 0) << button;
        EXPECT_FALSE(second->firmware().testPattern());
        ASSERT_FALSE(errorTexts().isEmpty());
        EXPECT_EQ(errorTexts().last(), message);

        bus.plug(first);
        ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 2; }));
        pick(cbHid()->findText("SIM0001"));
        ASSERT_TRUE(isOpen("SIM0001"));
    }
}

// Leaving during the countdown: it ends quietly, the status says what was
// lost, and nothing can be sent until a controller is open again.
TEST_F(WrongControllerTest, LeavingDuringTheCountdownSaysTheChangesWereNotSent)
{
    find<QCheckBox>("chkAutoSend")->setChecked(true);
    find<QSpinBox>("edBright")->setValue(150);
    bus.unplug(second);
    bus.unplug(first);
    ASSERT_TRUE(waitFor([&] { return noDeviceShown(); }));
    EXPECT_FALSE(window->editor()->SaveTimer().isActive());
    EXPECT_FALSE(find<QPushButton>("ButSaveConfig")->isEnabled());
    EXPECT_EQ(find<QStatusBar>("sBar")->currentMessage(), "Changes not sent: SIM0001 was disconnected");
    EXPECT_TRUE(TMsgBox::testCalls().isEmpty());
}

TEST_F(WrongControllerTest, SwitchingWithUnsentChangesAsksFirst)
{
    struct Case { int answer; const char *open; uint32_t firstBright; };
    for (const Case &c : {Case{mrCancel, "SIM0001", 100}, {mrDiscard, "SIM0002", 100}, {mrSend, "SIM0002", 150}}) {
        pick(0);
        find<QSpinBox>("edBright")->setValue(150);
        TMsgBox::resetTestResponder();
        TMsgBox::setTestResponder([&c](const TMsgBox::Call &) { return c.answer; });
        pick(1);
        EXPECT_TRUE(isOpen(c.open)) << c.answer;
        EXPECT_EQ(window->session().changed(), c.answer == mrCancel) << c.answer;
        EXPECT_EQ(first->firmware().param("BRIG"), c.firstBright) << c.answer;
        ASSERT_EQ(TMsgBox::testCalls().size(), 1);
        EXPECT_EQ(TMsgBox::testCalls()[0].Buttons, (TMsgBut{mbSend, mbDiscard, mbCancel}));
    }
}

// The open controller leaves while the question waits: the device change
// has chosen, the answer Send reaches no controller and the pick is void.
TEST_F(WrongControllerTest, ControllerLeavingDuringTheSwitchQuestionVoidsTheAnswer)
{
    SimUnit *third = bus.add(SimControllerModel::sane(3));
    ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 3; }));
    find<QSpinBox>("edBright")->setValue(150);
    TMsgBox::setTestResponder([this](const TMsgBox::Call &) {
        bus.unplug(first);
        EXPECT_TRUE(waitFor([&] { return isOpen("SIM0002"); }));
        return int(mrSend);
    });
    pick(2);
    EXPECT_TRUE(isOpen("SIM0002"));
    EXPECT_EQ(changes(second), 0);
    EXPECT_TRUE(third->received().isEmpty());
}

} // namespace
