#pragma once
#include "QtPrinters.h"

#include "core/protocol/ParamTags.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SimUnit.h"
#include "session/ControllerSession.h"

#include <QCoreApplication>

#include <gtest/gtest.h>

// A session following a simulated bus, as both front ends make one.
class SessionTest : public ::testing::Test {
protected:
    SessionTest() { session.start([this] { return std::make_unique<SimController>(&bus); }); }

    // Plugs a controller and lets the session hear of it.
    SimUnit *plug(const SimControllerModel &model)
    {
        SimUnit *u = bus.add(model);
        QCoreApplication::processEvents();
        return u;
    }

    // Plugs a sane controller (or `model`), opens, identifies and loads it.
    SimUnit *open(const SimControllerModel &model = SimControllerModel::sane(1))
    {
        unit = plug(model);
        EXPECT_TRUE(session.selectSerial(model.serial).ok());
        DeviceReadouts readouts;
        EXPECT_TRUE(session.identify(readouts).ok());
        session.readAll();
        unit->clearReceived();
        return unit;
    }

    uint32_t word(ParamTag tag) const
    {
        for (const TCfgData &p : session.params()) {
            if (p.Code == tagCode(tag))
                return p.Value;
        }
        return 0xDEADBEEF;
    }

    // Tags of the write commands the controller received, in order.
    QStringList writtenTags() const
    {
        QStringList tags;
        for (const QByteArray &r : unit->received()) {
            if (uint8_t(r[2]) == 0xED)
                tags << QString::fromLatin1(r.mid(3, 4));
        }
        return tags;
    }

    SimBus bus;
    ControllerSession session;
    SimUnit *unit = nullptr;
};
