#include "test_main_support.h"

#include "fake_hidapi.h"

#include "device/SimUnit.h"
#include "device/hidapi/HidapiController.h"

#include <QLineEdit>
#include <QSpinBox>

namespace {

constexpr uint8_t CmdBiosInfo = 0xE3;
constexpr uint8_t CmdReadParam = 0xEC;

using SessionTest = MainWindowTest;

TEST_F(SessionTest, WithoutDeviceShowsNoCorvane)
{
    start();

    EXPECT_TRUE(noDeviceShown());
    EXPECT_EQ(text("labNoCorvane"), "No CORVANE connected");
    // What to do about it: plug one in, the udev rule, the simulator.
    EXPECT_TRUE(find<QLabel>("labNoCorvaneHint")->isVisible());
    EXPECT_TRUE(text("labNoCorvaneHint").contains("70-corvane.rules"));
    EXPECT_TRUE(text("labNoCorvaneHint").contains("--simulate"));
    EXPECT_FALSE(led()->isOn());
    EXPECT_EQ(led()->shownColor(), QColor(255, 0, 0));
    EXPECT_FALSE(editorShown());
    for (const char *name : {"LabBiosVersion", "LabBiosCode", "LabBiosInfo", "LabBiosDate", "LabBiosConfig",
                             "labCapacity"})
        EXPECT_EQ(text(name), "---") << name;
    EXPECT_FALSE(window->butLoadProfile->isEnabled());
    EXPECT_FALSE(find<QCheckBox>("chkAutoSend")->isEnabled());
    EXPECT_TRUE(TMsgBox::testCalls().isEmpty());
}

TEST_F(SessionTest, StartupDelayOpensTheDeviceIntoTheEditor)
{
    SimUnit *unit = bus.add(SimControllerModel::sane(1));
    create().show();
    EXPECT_TRUE(window->Timer1.isActive());
    EXPECT_EQ(window->Timer1.interval(), 200);
    EXPECT_FALSE(editorShown());

    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    EXPECT_FALSE(window->Timer1.isActive());
    EXPECT_EQ(text("LabBiosVersion"), "v2.3");
    EXPECT_EQ(text("LabBiosCode"), "4A2F");
    EXPECT_EQ(text("LabBiosConfig"), "v1.1");
    EXPECT_NE(text("labCapacity"), "---");
    EXPECT_EQ(commandCount(unit, CmdReadParam), 21);
    EXPECT_TRUE(window->session().loaded());
    EXPECT_TRUE(window->butLoadProfile->isEnabled());
    EXPECT_TRUE(window->butSaveProfile->isEnabled());
    EXPECT_TRUE(find<QCheckBox>("chkAutoSend")->isEnabled());
    EXPECT_FALSE(noDeviceShown());
}

TEST_F(SessionTest, RememberedSerialIsPreferredAtStartAndAfterAPlug)
{
    writeSettings("[CONFIG]\nDEVICE=sim0002\n");
    bus.addSane(2);
    start();
    EXPECT_TRUE(isOpen("SIM0002"));

    pick(0);
    EXPECT_TRUE(isOpen("SIM0001"));
    // Unsent changes keep their controller open; once undone, it moves on.
    auto *bright = find<QSpinBox>("edBright");
    bright->setValue(150);
    bus.add(SimControllerModel::sane(3));
    ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 3; }));
    EXPECT_TRUE(isOpen("SIM0001"));
    bright->setValue(100);

    SimUnit *second = bus.find("SIM0002");
    second->clearReceived();
    bus.add(SimControllerModel::sane(4));
    ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 4; }));
    EXPECT_TRUE(isOpen("SIM0002"));
    EXPECT_EQ(commandCount(second, CmdBiosInfo), 1);
    EXPECT_EQ(commandCount(second, CmdReadParam), 21);
}

TEST_F(SessionTest, UnpluggingTheOpenDeviceOpensTheOther)
{
    bus.addSane(2);
    start();
    ASSERT_TRUE(isOpen("SIM0001"));

    bus.unplug(bus.find("SIM0001"));
    ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 1; }));
    EXPECT_TRUE(isOpen("SIM0002"));

    bus.unplug(bus.find("SIM0002"));
    ASSERT_TRUE(waitFor([&] { return noDeviceShown(); }));
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(led()->isOn());
    EXPECT_EQ(cbHid()->currentText(), "");
    EXPECT_TRUE(errorTexts().isEmpty());
}

// Neither a new list nor picking the open device again reads it anew;
// another pick opens that one, also by keyboard, which opens no list.
TEST_F(SessionTest, OnlyAChoiceOfAnotherDeviceOpensIt)
{
    bus.addSane(2);
    start();
    SimUnit *first = bus.find("SIM0001");
    SimUnit *second = bus.find("SIM0002");
    first->clearReceived();
    second->clearReceived();

    bus.add(SimControllerModel::sane(3));
    ASSERT_TRUE(waitFor([&] { return cbHid()->count() == 3; }));
    settle();
    pick(0);
    EXPECT_TRUE(first->received().isEmpty());
    EXPECT_TRUE(isOpen("SIM0001"));
    EXPECT_TRUE(window->session().loaded());

    pick(1);
    EXPECT_TRUE(isOpen("SIM0002"));
    EXPECT_EQ(commandCount(second, CmdBiosInfo), 1);
    EXPECT_TRUE(first->received().isEmpty());

    QTest::keyClick(cbHid(), Qt::Key_Up);
    EXPECT_TRUE(isOpen("SIM0001"));
    EXPECT_EQ(commandCount(first, CmdBiosInfo), 1);
}

// A device change that arrives while another device is being opened takes
// over; the interrupted opening does not go on with a stale choice.
TEST_F(SessionTest, DeviceChangeDuringAnOpeningTakesOver)
{
    bus.addSane(2);
    start();
    SimUnit *first = bus.find("SIM0001");
    SimUnit *second = bus.find("SIM0002");
    first->clearReceived();

    bus.unplug(second); // announced, not yet seen by the window
    pick(1);

    EXPECT_TRUE(isOpen("SIM0001"));
    EXPECT_EQ(cbHid()->count(), 1);
    EXPECT_EQ(commandCount(first, CmdBiosInfo), 1);
    EXPECT_EQ(commandCount(second, CmdBiosInfo), 0);
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(SessionTest, DeviceForAnotherToolVersionStaysOpening)
{
    SimControllerModel model = SimControllerModel::sane(1);
    model.bios.ToolVers = 12;
    model.bios.VersHi = 2;
    model.bios.VersLo = 5;
    SimUnit *unit = bus.add(model);
    start();

    EXPECT_EQ(errorTexts(), QList<QString>{"Config Tool v1.2.x required"});
    EXPECT_EQ(TMsgBox::testCalls().first().Buttons, TMsgBut(mbClose));
    EXPECT_TRUE(TMsgBox::testCalls().first().MsgBeep);
    EXPECT_EQ(text("LabBiosVersion"), "v2.5");
    EXPECT_EQ(text("LabBiosConfig"), "v1.2");
    EXPECT_TRUE(led()->isOn());
    EXPECT_EQ(led()->shownColor(), QColor(255, 255, 0));
    EXPECT_FALSE(editorShown());
    EXPECT_FALSE(window->butLoadProfile->isEnabled());
    EXPECT_EQ(commandCount(unit, CmdReadParam), 0);
}

// A controller that is plugged in but cannot be opened.
class LockedDevice : public HidDevice
{
public:
    uint16_t VendorID() const override { return 0x16C0; }
    uint16_t ProductID() const override { return 0x2AB5; }
    uint16_t VersionNumber() const override { return 0x4790; }
    QString SerialNumber() const override { return QStringLiteral("LOCKED1"); }
    bool SetFeature(const uint8_t *, int) override { return false; }
    bool GetFeature(uint8_t *, int) override { return false; }
    QString accessProblem() const override { return QStringLiteral("No permission for /dev/hidraw7: run \"udevadm trigger\" as root"); }
};

class LockedController : public HidController
{
public:
    QList<HidDevicePtr> devices{std::make_shared<LockedDevice>()};
    HidDevicePtr CheckOutByIndex(int index) override { return devices.value(index); }
    void CheckIn(const HidDevicePtr &) override {}
    void start() override { emit deviceChange(); }

protected:
    QList<HidDevicePtr> presentDevices() const override { return devices; }
};

// Present but not open: the editor's place says why, the LED stays yellow,
// and Retry opens the controller again once the fault is gone.
TEST_F(SessionTest, FailedStatesAreExplainedAndRetried)
{
    SimUnit *unit = bus.add(SimControllerModel::sane(1));
    const std::tuple<const char *, QString, std::function<void(SimFaults &)>> cases[] = {
        {"This CORVANE could not be identified", "Error Reading Biosinfo = 0xE000 (Communication Error)",
         [](SimFaults &f) { f.failFromTransfer = 1; }},
        {"The configuration of this CORVANE could not be read",
         "Error reading Config = 0x80C4 (Illegal Value/Range): BRIG", [](SimFaults &f) { f.readStatus["BRIG"] = 0xC4; }}};
    for (const auto &[title, detail, fault] : cases) {
        fault(unit->faults());
        window.reset();
        start();
        EXPECT_EQ(text("labFailedTitle") + text("labFailedDetail"), title + detail);
        EXPECT_FALSE(find<QLineEdit>("edFailedCommand")->isVisible());
        EXPECT_TRUE(led()->shownColor() == QColor(255, 255, 0) && !editorShown()) << title;
        unit->faults() = SimFaults();
        find<QPushButton>("butRetry")->click();
        EXPECT_TRUE(isOpen("SIM0001")) << title;
    }
}

// Without access nothing is exchanged: no error, only the explanation with
// the command to run, and no box at all, also when retried.
TEST_F(SessionTest, InaccessibleDeviceExplainsItselfInTheWindow)
{
    MainSetup setup;
    setup.controllerFactory = [] { return std::make_unique<LockedController>(); };
    setup.settingsPath = settingsPath();
    window = std::make_unique<TMain>(std::move(setup));
    start();
    find<QPushButton>("butRetry")->click();
    EXPECT_EQ(text("labFailedTitle"), "This CORVANE cannot be opened");
    EXPECT_TRUE(text("labFailedDetail").contains("/dev/hidraw7"));
    EXPECT_TRUE(find<QLineEdit>("edFailedCommand")->isVisible());
    EXPECT_EQ(find<QLineEdit>("edFailedCommand")->text(), "udevadm trigger");
    EXPECT_TRUE(TMsgBox::testCalls().isEmpty());
    EXPECT_EQ(led()->shownColor(), QColor(255, 255, 0));
}

// Green only while the editor holds a good load: a refused read-back after
// the reset turns an open controller's light back to yellow.
TEST_F(SessionTest, RefusedReadBackTakesTheGreenLight)
{
    SimUnit *unit = bus.add(SimControllerModel::sane(1));
    start();
    ASSERT_TRUE(isOpen("SIM0001"));
    unit->faults().readStatus["BRIG"] = 0xC4;
    find<QPushButton>("butDefault")->click();
    EXPECT_EQ(text("labFailedDetail"), "Error reading Config = 0x80C4 (Illegal Value/Range): BRIG");
    EXPECT_TRUE(led()->isOn() && led()->shownColor() == QColor(255, 255, 0) && !editorShown());
}

// One change in which the open controller left and another with the same
// serial number took its place: the newcomer is identified and loaded.
TEST_F(SessionTest, SameSerialReplacedWithinOneChangeIsOpenedAnew)
{
    SimUnit *unit = bus.add(SimControllerModel::sane(1));
    start();
    ASSERT_TRUE(isOpen("SIM0001"));
    unit->clearReceived();

    bus.unplug(unit);
    bus.plug(unit); // both announced together
    ASSERT_TRUE(waitFor([&] { return commandCount(unit, CmdReadParam) == 21; }));
    EXPECT_EQ(commandCount(unit, CmdBiosInfo), 1);
    EXPECT_TRUE(isOpen("SIM0001"));
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(SessionTest, HidAccessThatDidNotStartIsShownWithTheNoDeviceState)
{
    FakeHid::Reset();
    FakeHid::FailInit(-1, L"Couldn't create udev context");
    MainSetup setup;
    setup.controllerFactory = [] { return std::make_unique<HidapiController>(); };
    setup.settingsPath = settingsPath();
    window = std::make_unique<TMain>(std::move(setup));
    start();
    FakeHid::Reset();

    EXPECT_EQ(errorTexts(), QList<QString>{"Cannot access USB HID devices: Couldn't create udev context"});
    EXPECT_TRUE(noDeviceShown());
    EXPECT_FALSE(editorShown());
}

} // namespace
