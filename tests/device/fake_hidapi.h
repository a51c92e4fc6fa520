#pragma once
#include <QByteArray>
#include <QList>

#include <cstdint>
#include <functional>
#include <string>

// A stand-in for the few hidapi functions the adapter calls, so its byte
// handling can be tested without hardware or /dev/hidraw access.
struct FakeHidDevice {
    std::string path;
    uint16_t vid = 0x16C0, pid = 0x2AB5, release = 0x4790;
    std::wstring serial = L"FAKE1";
    int openErrno = 0;              // non-zero: hid_open_path fails with it
    int getResult = -2;             // -2: return the full length; else this value
    QByteArray featureReply;        // what hid_get_feature_report delivers
    QList<QByteArray> sent;         // what hid_send_feature_report received (with lengths)
    bool sendFails = false;
    int opens = 0, closes = 0;
};

namespace FakeHid {
QList<FakeHidDevice> &Devices();   // the bus; one record per device path
int EnumerateRecordsPerDevice();   // hidapi lists one record per usage
void SetRecordsPerDevice(int n);
FakeHidDevice *Find(const std::string &path);
QList<std::string> &ClosedPaths(); // every hid_close, by path
// Makes hid_init return `rc`, with `error` as hid_error(NULL).
void FailInit(int rc, const std::wstring &error);
void Reset();
} // namespace FakeHid
