#pragma once
#include "device/HidController.h"
#include "core/protocol/StatusCodes.h"

#include <QList>
#include <QString>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>

// Value widths in which command payloads are appended, least significant byte first.
enum TWidth { TBYTE = 0, TWORD = 1, TLONG = 2 };

using TOnHidEnum = std::function<void()>;

// One entry of the device list: the serial number shown, and the device.
struct DevListEntry {
    QString text;
    HidDevicePtr object;
};

// The one object through which the tool talks to a controller: keeps the list
// of connected controllers, the selected one, and builds one 64-byte command
// report at a time. Never raises: every failure is a status code.
//
// Threads: a transport and everything it hands out belong to the thread
// that made it. A transport following the bus enumerates on that thread;
// one bound to a single controller (see the second constructor) may be made
// and used on another, since a device handle is only ever used by the one
// transport that holds it and the bus is never enumerated from there.
class TComHid {
public:
    // Called with every report exchanged: sent true for the report sent.
    using TraceSink = std::function<void(bool sent, const uint8_t *report)>;

    explicit TComHid(HidControllerFactory controllerFactory);
    // A transport for one controller already listed elsewhere: its list
    // holds that entry alone, selected, and it never follows the bus.
    explicit TComHid(const DevListEntry &only);
    ~TComHid();
    TComHid(const TComHid &) = delete;
    TComHid &operator=(const TComHid &) = delete;

    void SetOnEnum(TOnHidEnum onEnum);
    void SetDevice(int idx);
    void NewOut(uint8_t com);
    void AddOut(TWidth w, int64_t data);
    void ArrOut(const uint8_t *buf, int cnt);

    // Sends OutBuf to Dev and gathers the reply into Data (DataSize bytes).
    // Polls in 2 ms sleeps for at most Timeout milliseconds from the first
    // poll; never writes past DataSize.
    uint16_t HidAction(uint8_t *data, int dataSize, int timeout);
    template <size_t N> uint16_t HidAction(std::array<uint8_t, N> &data, int timeout)
    {
        return HidAction(data.data(), int(N), timeout);
    }

    static QString ErrToStr(uint16_t err) { return ::ErrToStr(err); }

    void setTrace(TraceSink sink) { m_trace = std::move(sink); }

    // The controllers of the last enumeration, in its order.
    const QList<DevListEntry> &devices() const { return DevList; }
    // The selected controller; null when none is selected or it has left.
    const HidDevicePtr &device() const { return Dev; }
    // The report being built and where its next payload byte goes.
    const std::array<uint8_t, kReportSize> &outReport() const { return OutBuf; }
    uint16_t outPos() const { return OutPos; }

    HidController *HidCtrl() const { return m_hidCtrl.get(); }
    // Why the controller cannot reach any device; empty when it can.
    QString startError() const { return m_hidCtrl ? m_hidCtrl->startError() : QString(); }

    static constexpr int kPollIntervalMs = 2;
    static constexpr int kMaxGatheredReply = 318; // 255 + one last whole part of 63

private:
    void HidChange();
    bool HidEnumerate(const HidDevicePtr &device, int index);
    void HidData() {} // input reports are never used
    void refreshLength();
    bool exchange(bool send, uint8_t *report);

    TOnHidEnum OnHidEnum;
    std::array<uint8_t, kReportSize> OutBuf{};
    uint16_t OutPos = 3;
    HidDevicePtr Dev;
    QList<DevListEntry> DevList;

    HidControllerFactory m_factory;
    std::unique_ptr<HidController> m_hidCtrl;
    TraceSink m_trace;
};
