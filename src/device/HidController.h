#pragma once
#include <QList>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

constexpr int kReportSize = 64;
constexpr uint8_t kReportId = 3;

// One HID device as the controller lists it. The object stays the same while
// the device remains plugged in, so a selected device survives re-enumeration;
// once the device has left, every transfer fails.
class HidDevice {
public:
    virtual ~HidDevice() = default;

    virtual uint16_t VendorID() const = 0;
    virtual uint16_t ProductID() const = 0;
    virtual uint16_t VersionNumber() const = 0;
    // Empty when the device has none or it cannot be read.
    virtual QString SerialNumber() const = 0;

    // 64-byte feature reports, byte 0 the report ID. SetFeature is true when
    // the report reached the device; GetFeature is true when the device
    // delivered a report, whose byte 0 is then the device's status/count byte.
    virtual bool SetFeature(const uint8_t *report, int len) = 0;
    virtual bool GetFeature(uint8_t *report, int len) = 0;

    // Why this device cannot be used (for example missing permission), with
    // a hint how to fix it; empty when nothing is known to be wrong.
    virtual QString accessProblem() const { return {}; }

    // The session has taken this controller for a sequence of exchanges
    // (its lock is held). A simulated controller takes up here what other
    // programs stored for it meanwhile, as a real one simply holds it.
    virtual void claimed() {}
};
using HidDevicePtr = std::shared_ptr<HidDevice>;

// The platform component that finds HID devices and reports their arrival
// and removal. Everything happens on the GUI thread.
class HidController : public QObject {
    Q_OBJECT
public:
    using EnumerateCallback = std::function<bool(const HidDevicePtr &device, int index)>;

    void setOnEnumerate(EnumerateCallback callback) { m_onEnumerate = std::move(callback); }

    // Runs the enumeration callback once per plugged-in device, in order;
    // stops early only when the callback returns false.
    void Enumerate();

    // Claims the device at `index` of the current enumeration for this program.
    virtual HidDevicePtr CheckOutByIndex(int index) = 0;
    // Returns a claimed device; it stays usable while plugged in.
    virtual void CheckIn(const HidDevicePtr &device) = 0;

    // Starts following the bus. The first scan is reported at once through
    // DeviceChange, before Start returns.
    virtual void start() = 0;

    // Why no device can be reached at all (the platform's HID access did not
    // start), for the user; empty when it works. Known once Start returned.
    virtual QString startError() const { return {}; }

signals:
    // The set of HID devices changed (or the first scan finished).
    void deviceChange();

protected:
    virtual QList<HidDevicePtr> presentDevices() const = 0;

private:
    EnumerateCallback m_onEnumerate;
};

using HidControllerFactory = std::function<std::unique_ptr<HidController>()>;
