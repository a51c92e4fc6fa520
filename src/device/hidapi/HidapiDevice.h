#pragma once
#include "device/HidController.h"

#include <QByteArray>

struct hid_device_;

// One device seen by hidapi; opened when the program claims it.
class HidapiDevice : public HidDevice {
public:
    HidapiDevice(QByteArray path, uint16_t vid, uint16_t pid, uint16_t release, QString serial);
    ~HidapiDevice() override;

    uint16_t VendorID() const override { return m_vid; }
    uint16_t ProductID() const override { return m_pid; }
    uint16_t VersionNumber() const override { return m_release; }
    QString SerialNumber() const override { return m_serial; }
    bool SetFeature(const uint8_t *report, int len) override;
    bool GetFeature(uint8_t *report, int len) override;
    QString accessProblem() const override { return m_problem; }

    const QByteArray &path() const { return m_path; }
    // Opens the device unless it is open; on failure records why.
    void open();
    // Closes the handle for good (the device has left the bus).
    void close();

private:
    QByteArray m_path;
    uint16_t m_vid, m_pid, m_release;
    QString m_serial;
    hid_device_ *m_handle = nullptr;
    bool m_gone = false;
    QString m_problem;
};
