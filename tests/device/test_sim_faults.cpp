// The simulated faults a command line asks for hit the transfer it names.
#include "device/SimFaultList.h"

#include "SimFixture.h"

#include <gtest/gtest.h>

TEST(SimFaults, CountsNameTheTransferThatFailsCountedFromOne)
{
    struct Case {
        const char *fault;
        qsizetype commandsTaken; // of two, each a set and a get
        bool stillListed;
    };
    for (const Case &c : {Case{"SIM0001:unplug-after=1", 0, false}, Case{"SIM0001:unplug-after=3", 1, false},
                          Case{"SIM0001:fail-after=3", 1, true}}) {
        SCOPED_TRACE(c.fault);
        SimTransport sim;
        SimUnit *unit = sim.bus.add(SimControllerModel::sane(1));
        QString error;
        ASSERT_TRUE(applySimFaults(sim.bus, QString::fromLatin1(c.fault), &error)) << error.toStdString();
        sim.start();
        SimTransport::settle();
        sim.hid->SetDevice(0);
        uint8_t buf[64];
        for (int i = 0; i < 2; ++i) {
            sim.hid->NewOut(0xE3);
            sim.hid->HidAction(buf, 64, 100);
        }
        EXPECT_EQ(unit->received().size(), c.commandsTaken);
        SimTransport::settle();
        EXPECT_EQ(sim.hid->devices().size(), c.stillListed ? 1 : 0);
    }
}
