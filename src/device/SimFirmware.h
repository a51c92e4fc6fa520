#pragma once
#include "core/protocol/BiosInfo.h"

#include <QByteArray>
#include <QList>

#include <array>
#include <chrono>
#include <cstdint>
#include <functional>

// One parameter as the controller's firmware keeps it.
struct SimParam {
    QByteArray tag;
    uint32_t value = 0;
};

// Everything that makes one simulated controller what it is: bus identity,
// firmware information, CPU information and factory parameters. Tests copy
// the sane value and change what they need.
struct SimControllerModel {
    uint16_t vendorId = 0x16C0;
    uint16_t productId = 0x2AB5;
    uint16_t release = 0x4790;
    QString serial;
    TBiosInfo bios;
    int biosReplyLength = TBiosInfo::kWireSize;
    std::array<uint8_t, 12> cpuInfo{};
    int cpuReplyLength = 12;
    QList<SimParam> defaults;

    // A healthy controller; `n` (1, 2, ...) gives serial "SIM000n" and distinct CPU information.
    static SimControllerModel sane(int n = 1);
};

// The 21 factory parameters of a healthy controller, in the firmware's order.
QList<SimParam> simFactoryParameters();

// The command interpreter of the controller's firmware: takes one 64-byte
// output report, returns the final reply report (status/count, echo, data)
// and performs the command's effect.
class SimFirmware {
public:
    using Report = std::array<uint8_t, 64>;

    explicit SimFirmware(SimControllerModel model);

    // Whether the controller takes a set-feature report, as a real one does:
    // 64 bytes of report 3, and no command while it settles (50 ms after
    // 0xEF, 250 ms after a reset to defaults, after a restart until it is
    // powered up again). A refused report changes nothing.
    bool takes(const uint8_t *report, int len) const;
    // Whether it answers a get-feature request: the host names report 3 in byte 0.
    static bool answers(const uint8_t *request, int len);
    // Back on the bus after a restart.
    void powerUp() { m_settledAt = {}; }
    // The controller's clock; tests step it to reach the ends of a settle wait.
    std::function<std::chrono::steady_clock::time_point()> now = std::chrono::steady_clock::now;

    // Performs a report the controller took and returns its final reply.
    Report handle(const uint8_t *out);

    const SimControllerModel &model() const { return m_model; }
    SimControllerModel &model() { return m_model; }
    const QList<SimParam> &params() const { return m_params; }
    void setParams(const QList<SimParam> &params) { m_params = params; }
    bool setParam(const QByteArray &tag, uint32_t value);
    uint32_t param(const QByteArray &tag) const;
    bool testPattern() const { return m_testPattern; }

    // The words the firmware expects: high and low half of access code 2.
    uint16_t readWord() const;
    uint16_t writeWord() const;

    // Called after the reply to a restart request was built.
    std::function<void()> onRestart;
    // Called after parameters changed (write or reset to defaults).
    std::function<void()> onParamsChanged;

    // Would the firmware accept `value` for `tag`? LMAX and unknown tags never.
    static bool accepts(const QByteArray &tag, uint32_t value);

private:
    Report reply(uint8_t cmd, uint8_t status, const uint8_t *data = nullptr, int len = 0) const;
    Report handleWrite(uint8_t cmd, const uint8_t *payload);

    SimControllerModel m_model;
    QList<SimParam> m_params;
    bool m_testPattern = false;
    std::chrono::steady_clock::time_point m_settledAt{};
};
