#include "SimFixture.h"

#include <gtest/gtest.h>

TEST(Enumeration, KeepsOnlyTheControllerFamily)
{
    SimTransport sim;
    auto model = SimControllerModel::sane(1);
    model.release = 0x479F;
    sim.bus.add(model);
    model = SimControllerModel::sane(2);
    model.release = 0x47A0;
    sim.bus.add(model);
    model = SimControllerModel::sane(3);
    model.productId = 0x2AB6;
    sim.bus.add(model);
    model = SimControllerModel::sane(4);
    model.release = 0x4790;
    sim.bus.add(model);
    sim.start();
    ASSERT_EQ(sim.hid->devices().size(), 2);
    EXPECT_EQ(sim.hid->devices()[0].text, "SIM0001");
    EXPECT_EQ(sim.hid->devices()[1].text, "SIM0004");
}

TEST(Enumeration, MissingSerialsAreListedEach)
{
    SimTransport sim;
    auto model = SimControllerModel::sane(1);
    model.serial.clear();
    sim.bus.add(model);
    sim.bus.add(model);
    sim.start();
    ASSERT_EQ(sim.hid->devices().size(), 2);
    EXPECT_EQ(sim.hid->devices()[0].text, "SERIAL IS MISSING");
    EXPECT_EQ(sim.hid->devices()[1].text, "SERIAL IS MISSING");
    EXPECT_NE(sim.hid->devices()[0].object, sim.hid->devices()[1].object);
}

TEST(Enumeration, FirstScanIsReportedInsideSetOnEnum)
{
    SimTransport sim;
    sim.bus.addSane(1);
    sim.start();
    EXPECT_EQ(sim.enumerations, 1);
    EXPECT_EQ(sim.hid->devices().size(), 1);
}

TEST(Enumeration, SelectedDeviceSurvivesOtherChanges)
{
    SimTransport sim;
    sim.bus.addSane(2);
    sim.start();
    SimTransport::settle();
    sim.hid->SetDevice(1);
    const HidDevicePtr selected = sim.hid->device();
    ASSERT_TRUE(selected);

    sim.bus.add(SimControllerModel::sane(3));
    sim.bus.unplug(sim.bus.units()[0]);
    SimTransport::settle();
    ASSERT_EQ(sim.hid->devices().size(), 2);
    EXPECT_EQ(sim.hid->device(), selected);
    EXPECT_EQ(sim.hid->devices()[0].object, selected);

    uint8_t buf[64];
    sim.hid->NewOut(0xE5);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), 12);
}

TEST(Enumeration, RemovedDeviceIsDeselected)
{
    SimTransport sim;
    sim.bus.addSane(1);
    sim.start();
    sim.hid->SetDevice(0);
    sim.bus.unplug(sim.bus.units()[0]);
    SimTransport::settle();
    EXPECT_TRUE(sim.hid->devices().isEmpty());
    EXPECT_EQ(sim.hid->device(), nullptr);
    sim.hid->SetDevice(0);
    EXPECT_EQ(sim.hid->device(), nullptr);
}

TEST(Enumeration, BurstOfChangesIsOneNotification)
{
    SimTransport sim;
    sim.start();
    sim.bus.addSane(3);
    SimTransport::settle();
    EXPECT_EQ(sim.enumerations, 2);
    EXPECT_EQ(sim.hid->devices().size(), 3);
}

TEST(Enumeration, RestartLeavesAndRejoinsTheBus)
{
    SimTransport sim;
    SimUnit *unit = sim.bus.add(SimControllerModel::sane(1));
    unit->restartDelayMs = 50;
    sim.start();
    sim.hid->SetDevice(0);
    const uint16_t word = unit->firmware().writeWord();

    sim.hid->NewOut(0xED);
    sim.hid->AddOut(TLONG, 0);
    sim.hid->AddOut(TLONG, 0);
    sim.hid->AddOut(TWORD, word);
    sim.hid->AddOut(TBYTE, 1);
    uint8_t buf[64];
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::Ok);
    EXPECT_EQ(sim.hid->devices().size(), 1); // nothing happens while the command runs

    ASSERT_TRUE(SimTransport::waitFor([&] { return sim.hid->devices().isEmpty(); }));
    EXPECT_EQ(sim.hid->device(), nullptr);
    ASSERT_TRUE(SimTransport::waitFor([&] { return sim.hid->devices().size() == 1; }));
    EXPECT_EQ(sim.hid->devices()[0].text, "SIM0001");
    sim.hid->SetDevice(0);
    sim.hid->NewOut(0xE5);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), 12); // powered up: takes commands again
}
