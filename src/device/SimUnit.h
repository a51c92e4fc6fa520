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
    int notReadyPolls = 0;          // not-ready reports before every final reply
    bool neverReady = false;        // answer not-ready for ever
    bool wrongEcho = false;         // echo another command byte
    int errorStatus = -1;           // 0x80..0xFF: answer every command with this status
    QHash<QByteArray, uint8_t> writeStatus; // answer writes of a tag with this status
    QHash<QByteArray, uint8_t> readStatus;  // answer reads of a tag with this status
    int failAfterTransfers = -1;    // after this many good transfers, one fails
    int failFromTransfer = -1;      // from this transfer on (counting from 1), every one fails
    int unplugAfterTransfers = -1;  // after this many good transfers, the unit leaves the bus
    QList<QByteArray> script;       // verbatim reply reports for the next command
};

// One simulated controller: its firmware, its faults and its presence on the
// bus. Each time it joins the bus it appears as a new HID device object, as a
// real controller does after a restart.
class SimUnit {
public:
    SimUnit(SimBus *bus, SimControllerModel model);

    SimFirmware &firmware() { return m_firmware; }
    const SimFirmware &firmware() const { return m_firmware; }
    SimFaults &faults() { return m_faults; }
    bool plugged() const { return m_device != nullptr; }
    HidDevicePtr device() const { return m_device; }

    // Every command report taken, in order (tests check the wire bytes).
    const QList<QByteArray> &received() const { return m_received; }
    void clearReceived() { m_received.clear(); }

    // Milliseconds a restart keeps the unit off the bus.
    int restartDelayMs = 1000;

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
