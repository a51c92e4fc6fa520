#pragma once
#include "device/HidController.h"
#include "device/SimFirmware.h"

#include <QByteArray>
#include <QHash>
#include <QList>

#include <memory>

class SimBus;

// Faults a test can inject into one simulated controller.
struct SimFaults {
    int NotReadyPolls = 0;          // not-ready reports before every final reply
    bool NeverReady = false;        // answer not-ready for ever
    bool WrongEcho = false;         // echo another command byte
    int ErrorStatus = -1;           // 0x80..0xFF: answer every command with this status
    QHash<QByteArray, uint8_t> WriteStatus; // answer writes of a tag with this status
    QHash<QByteArray, uint8_t> ReadStatus;  // answer reads of a tag with this status
    int FailAfterTransfers = -1;    // after this many good transfers, one fails
    int FailFromTransfer = -1;      // from this transfer on (counting from 1), every one fails
    int UnplugAfterTransfers = -1;  // after this many good transfers, the unit leaves the bus
    QList<QByteArray> Script;       // verbatim reply reports for the next command
};

// One simulated controller: its firmware, its faults and its presence on the
// bus. Each time it joins the bus it appears as a new HID device object, as a
// real controller does after a restart.
class SimUnit {
public:
    SimUnit(SimBus *bus, SimControllerModel model);

    SimFirmware &Firmware() { return m_firmware; }
    const SimFirmware &Firmware() const { return m_firmware; }
    SimFaults &Faults() { return m_faults; }
    bool Plugged() const { return m_device != nullptr; }
    HidDevicePtr Device() const { return m_device; }

    // Every command report taken, in order (tests check the wire bytes).
    const QList<QByteArray> &Received() const { return m_received; }
    void ClearReceived() { m_received.clear(); }

    // Milliseconds a restart keeps the unit off the bus.
    int RestartDelayMs = 1000;

private:
    friend class SimBus;
    friend class SimHidDevice;

    void joinBus();
    void leaveBus();
    bool setFeature(const uint8_t *report, int len);
    bool getFeature(uint8_t *report, int len);
    bool transferAllowed();

    SimBus *m_bus;
    SimFirmware m_firmware;
    SimFaults m_faults;
    HidDevicePtr m_device;
    QList<SimFirmware::Report> m_pending;
    SimFirmware::Report m_last{};
    QList<QByteArray> m_received;
    int m_transfers = 0;
};
