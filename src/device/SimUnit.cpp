#include "device/SimUnit.h"

#include "device/SimBus.h"

#include <cstring>

// The HID face of a unit while it is on the bus. After it has left, the
// object stays valid for whoever still holds it, but every transfer fails.
class SimHidDevice : public HidDevice {
public:
    explicit SimHidDevice(SimUnit *unit)
        : m_unit(unit)
    {
    }
    void detach() { m_unit = nullptr; }

    uint16_t VendorID() const override { return mModel().vendorId; }
    uint16_t ProductID() const override { return mModel().productId; }
    uint16_t VersionNumber() const override { return mModel().release; }
    QString SerialNumber() const override { return mModel().serial; }
    bool SetFeature(const uint8_t *report, int len) override { return m_unit && m_unit->setFeature(report, len); }
    bool GetFeature(uint8_t *report, int len) override { return m_unit && m_unit->getFeature(report, len); }
    void claimed() override
    {
        if (m_unit)
            m_unit->m_bus->reportClaimed(m_unit);
    }

private:
    const SimControllerModel &mModel() const
    {
        static const SimControllerModel gone;
        return m_unit ? m_unit->firmware().model() : gone;
    }
    SimUnit *m_unit;
};

SimUnit::SimUnit(SimBus *bus, SimControllerModel model)
    : m_bus(bus)
    , m_firmware(std::move(model))
{
    m_firmware.onRestart = [this] { m_bus->restart(this); };
    m_firmware.onParamsChanged = [this] { m_bus->reportParamsChanged(this); };
}

void SimUnit::joinBus()
{
    if (!m_device) {
        m_firmware.powerUp();
        m_device = std::make_shared<SimHidDevice>(this);
    }
}

void SimUnit::leaveBus()
{
    if (m_device)
        static_cast<SimHidDevice *>(m_device.get())->detach();
    m_device.reset();
    m_pending.clear();
}

bool SimUnit::transferAllowed()
{
    if (!m_device)
        return false;
    ++m_transfers;
    if (m_faults.failFromTransfer > 0 && m_transfers >= m_faults.failFromTransfer)
        return false;
    if (m_faults.unplugAfterTransfers == 0) {
        m_faults.unplugAfterTransfers = -1;
        m_bus->unplug(this);
        return false;
    }
    if (m_faults.failAfterTransfers == 0) {
        m_faults.failAfterTransfers = -1;
        return false;
    }
    if (m_faults.unplugAfterTransfers > 0)
        --m_faults.unplugAfterTransfers;
    if (m_faults.failAfterTransfers > 0)
        --m_faults.failAfterTransfers;
    return true;
}

bool SimUnit::setFeature(const uint8_t *report, int len)
{
    if (!m_firmware.takes(report, len) || !transferAllowed())
        return false;
    m_received.append(QByteArray(reinterpret_cast<const char *>(report), 64));
    m_pending.clear();

    if (!m_faults.script.isEmpty()) {
        for (const QByteArray &r : std::as_const(m_faults.script)) {
            SimFirmware::Report rep{};
            std::memcpy(rep.data(), r.constData(), size_t(std::min<qsizetype>(r.size(), 64)));
            m_pending.append(rep);
        }
        m_faults.script.clear();
        return true;
    }

    const uint8_t cmd = report[2];
    SimFirmware::Report final{};
    const QByteArray tag(reinterpret_cast<const char *>(&report[3]), 4);
    if (m_faults.errorStatus >= 0) {
        final[0] = uint8_t(m_faults.errorStatus);
        final[1] = cmd;
    } else if (cmd == 0xED && m_faults.writeStatus.contains(tag)) {
        final[0] = m_faults.writeStatus.value(tag);
        final[1] = cmd;
    } else if (cmd == 0xEC && m_faults.readStatus.contains(tag)) {
        final[0] = m_faults.readStatus.value(tag);
        final[1] = cmd;
    } else {
        final = m_firmware.handle(report);
    }

    SimFirmware::Report notReady{};
    notReady[0] = 0x40;
    notReady[1] = cmd;
    for (int i = 0; i < m_faults.notReadyPolls; ++i)
        m_pending.append(notReady);
    m_pending.append(m_faults.neverReady ? notReady : final);
    if (m_faults.wrongEcho) {
        for (auto &r : m_pending)
            r[1] = uint8_t(cmd ^ 0xFF);
    }
    return true;
}

bool SimUnit::getFeature(uint8_t *report, int len)
{
    if (!SimFirmware::answers(report, len) || !transferAllowed())
        return false;
    if (!m_pending.isEmpty())
        m_last = m_pending.takeFirst();
    // Once the reply queue is drained the last report repeats, as a device
    // that keeps its feature report until the next command.
    std::memcpy(report, m_last.data(), 64);
    return true;
}
