#pragma once
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/uComHid.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTest>

#include <memory>

// A transport over a simulated bus, as the program builds it, for tests.
struct SimTransport {
    SimBus bus;
    std::unique_ptr<TComHid> hid;
    int enumerations = 0;

    SimTransport()
        : hid(std::make_unique<TComHid>([this] { return std::make_unique<SimController>(&bus); }))
    {
    }

    void start()
    {
        hid->SetOnEnum([this] { ++enumerations; });
    }

    // Lets queued bus announcements reach the transport.
    static void settle(int ms = 0)
    {
        QCoreApplication::processEvents();
        if (ms > 0)
            QTest::qWait(ms);
        QCoreApplication::processEvents();
    }

    // Waits until `pred` holds, at most `ms`.
    template <typename Pred> static bool waitFor(Pred pred, int ms = 3000)
    {
        QElapsedTimer t;
        t.start();
        while (!pred() && t.elapsed() < ms)
            QTest::qWait(5);
        return pred();
    }
};

// Builds a 64-byte reply report: status, echo, data.
inline QByteArray ReplyReport(uint8_t status, uint8_t echo, const QByteArray &data = {})
{
    QByteArray r(64, '\0');
    r[0] = char(status);
    r[1] = char(echo);
    for (int i = 0; i < data.size() && i < 62; ++i)
        r[2 + i] = data[i];
    return r;
}
