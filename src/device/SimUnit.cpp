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
    void Detach() { m_unit = nullptr; }

    uint16_t VendorID() const override { return m_model().VendorID; }
    uint16_t ProductID() const override { return m_model().ProductID; }
    uint16_t VersionNumber() const override { return m_model().Release; }
    QString SerialNumber() const override { return m_model().Serial; }
    bool SetFeature(const uint8_t *report, int len) override { return m_unit && m_unit->setFeature(report, len); }
    bool GetFeature(uint8_t *report, int len) override { return m_unit && m_unit->getFeature(report, len); }
    void claimed() override
    {
        if (m_unit)
            m_unit->m_bus->claimed(m_unit);
    }

private:
    const SimControllerModel &m_model() const
    {
        static const SimControllerModel gone;
        return m_unit ? m_unit->Firmware().Model() : gone;
    }
    SimUnit *m_unit;
};

SimUnit::SimUnit(SimBus *bus, SimControllerModel model)
    : m_bus(bus)
    , m_firmware(std::move(model))
{
    m_firmware.OnRestart = [this] { m_bus->restart(this); };
    m_firmware.OnParamsChanged = [this] { m_bus->paramsChanged(this); };
}

void SimUnit::joinBus()
{
    if (!m_device) {
        m_firmware.PowerUp();
        m_device = std::make_shared<SimHidDevice>(this);
    }
}

void SimUnit::leaveBus()
{
    if (m_device)
        static_cast<SimHidDevice *>(m_device.get())->Detach();
    m_device.reset();
    m_pending.clear();
}

bool SimUnit::transferAllowed()
{
    if (!m_device)
        return false;
    ++m_transfers;
    if (m_faults.FailFromTransfer > 0 && m_transfers >= m_faults.FailFromTransfer)
        return false;
    if (m_faults.UnplugAfterTransfers == 0) {
        m_faults.UnplugAfterTransfers = -1;
        m_bus->Unplug(this);
        return false;
    }
    if (m_faults.FailAfterTransfers == 0) {
        m_faults.FailAfterTransfers = -1;
        return false;
    }
    if (m_faults.UnplugAfterTransfers > 0)
        --m_faults.UnplugAfterTransfers;
    if (m_faults.FailAfterTransfers > 0)
        --m_faults.FailAfterTransfers;
    return true;
}

bool SimUnit::setFeature(const uint8_t *report, int len)
{
    if (!m_firmware.Takes(report, len) || !transferAllowed())
        return false;
    m_received.append(QByteArray(reinterpret_cast<const char *>(report), 64));
    m_pending.clear();

    if (!m_faults.Script.isEmpty()) {
        for (const QByteArray &r : std::as_const(m_faults.Script)) {
            SimFirmware::Report rep{};
            std::memcpy(rep.data(), r.constData(), size_t(std::min<qsizetype>(r.size(), 64)));
            m_pending.append(rep);
        }
        m_faults.Script.clear();
        return true;
    }

    const uint8_t cmd = report[2];
    SimFirmware::Report final{};
    const QByteArray tag(reinterpret_cast<const char *>(&report[3]), 4);
    if (m_faults.ErrorStatus >= 0) {
        final[0] = uint8_t(m_faults.ErrorStatus);
        final[1] = cmd;
    } else if (cmd == 0xED && m_faults.WriteStatus.contains(tag)) {
        final[0] = m_faults.WriteStatus.value(tag);
        final[1] = cmd;
    } else if (cmd == 0xEC && m_faults.ReadStatus.contains(tag)) {
        final[0] = m_faults.ReadStatus.value(tag);
        final[1] = cmd;
    } else {
        final = m_firmware.Handle(report);
    }

    SimFirmware::Report notReady{};
    notReady[0] = 0x40;
    notReady[1] = cmd;
    for (int i = 0; i < m_faults.NotReadyPolls; ++i)
        m_pending.append(notReady);
    m_pending.append(m_faults.NeverReady ? notReady : final);
    if (m_faults.WrongEcho) {
        for (auto &r : m_pending)
            r[1] = uint8_t(cmd ^ 0xFF);
    }
    return true;
}

bool SimUnit::getFeature(uint8_t *report, int len)
{
    if (!SimFirmware::Answers(report, len) || !transferAllowed())
        return false;
    if (!m_pending.isEmpty())
        m_last = m_pending.takeFirst();
    // Once the reply queue is drained the last report repeats, as a device
    // that keeps its feature report until the next command.
    std::memcpy(report, m_last.data(), 64);
    return true;
}
