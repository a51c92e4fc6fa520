#include "fake_hidapi.h"

#include <hidapi.h>

#include <cerrno>
#include <cstring>
#include <cwchar>

struct hid_device_ {
    std::string path;
};

namespace {
QList<FakeHidDevice> g_devices;
int g_recordsPerDevice = 1;
QList<std::string> g_closed;
int g_initResult = 0;
std::wstring g_globalError = L"Success";

// The controller has one report, number 3; hidraw stalls a transfer of any other.
bool namesReport3(const unsigned char *data, size_t length)
{
    return length > 0 && data[0] == 3;
}
} // namespace

namespace FakeHid {
QList<FakeHidDevice> &Devices() { return g_devices; }
int EnumerateRecordsPerDevice() { return g_recordsPerDevice; }
void SetRecordsPerDevice(int n) { g_recordsPerDevice = n; }
FakeHidDevice *Find(const std::string &path)
{
    for (auto &d : g_devices) {
        if (d.path == path)
            return &d;
    }
    return nullptr;
}
QList<std::string> &ClosedPaths() { return g_closed; }
void FailInit(int rc, const std::wstring &error)
{
    g_initResult = rc;
    g_globalError = error;
}
void Reset()
{
    g_devices.clear();
    g_closed.clear();
    g_recordsPerDevice = 1;
    FailInit(0, L"Success");
}
} // namespace FakeHid

extern "C" {
int HID_API_EXPORT hid_init(void) { return g_initResult; }
int HID_API_EXPORT hid_exit(void) { return 0; }

struct hid_device_info HID_API_EXPORT *hid_enumerate(unsigned short, unsigned short)
{
    hid_device_info *head = nullptr;
    hid_device_info **tail = &head;
    for (const auto &d : g_devices) {
        for (int i = 0; i < g_recordsPerDevice; ++i) {
            auto *info = new hid_device_info{};
            info->path = strdup(d.path.c_str());
            info->vendor_id = d.vid;
            info->product_id = d.pid;
            info->release_number = d.release;
            info->serial_number = wcsdup(d.serial.c_str());
            info->usage_page = uint16_t(0xFF00 + i);
            *tail = info;
            tail = &info->next;
        }
    }
    return head;
}

void HID_API_EXPORT hid_free_enumeration(struct hid_device_info *devs)
{
    while (devs) {
        hid_device_info *next = devs->next;
        free(devs->path);
        free(devs->serial_number);
        delete devs;
        devs = next;
    }
}

hid_device HID_API_EXPORT *hid_open_path(const char *path)
{
    FakeHidDevice *d = FakeHid::Find(path);
    if (!d) {
        errno = ENOENT;
        return nullptr;
    }
    if (d->openErrno) {
        errno = d->openErrno;
        return nullptr;
    }
    ++d->opens;
    return new hid_device_{path};
}

void HID_API_EXPORT hid_close(hid_device *dev)
{
    g_closed.append(dev->path);
    if (FakeHidDevice *d = FakeHid::Find(dev->path))
        ++d->closes;
    delete dev;
}

int HID_API_EXPORT hid_send_feature_report(hid_device *dev, const unsigned char *data, size_t length)
{
    FakeHidDevice *d = FakeHid::Find(dev->path);
    if (!d || d->sendFails || !namesReport3(data, length))
        return -1;
    d->sent.append(QByteArray(reinterpret_cast<const char *>(data), int(length)));
    return int(length);
}

int HID_API_EXPORT hid_get_feature_report(hid_device *dev, unsigned char *data, size_t length)
{
    FakeHidDevice *d = FakeHid::Find(dev->path);
    if (!d)
        return -1;
    if (d->getResult == -1 || !namesReport3(data, length))
        return -1;
    const size_t n = d->getResult == -2 ? length : std::min(length, size_t(d->getResult));
    std::memcpy(data, d->featureReply.constData(), std::min(n, size_t(d->featureReply.size())));
    return int(n);
}

const wchar_t HID_API_EXPORT *hid_error(hid_device *dev) { return dev ? L"fake error" : g_globalError.c_str(); }
}
