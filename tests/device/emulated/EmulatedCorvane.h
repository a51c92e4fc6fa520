#pragma once
#include "device/SimFirmware.h"

#include <QByteArray>
#include <QString>

#include <mutex>
#include <optional>

typedef struct _UMockdevTestbed UMockdevTestbed;
typedef struct _UMockdevIoctlBase UMockdevIoctlBase;
typedef struct _UMockdevIoctlClient UMockdevIoctlClient;

// A CORVANE on an emulated USB bus: a umockdev testbed holding the
// controller's sysfs tree (USB device, interface, HID device, hidraw node)
// and a /dev/hidraw0 whose feature-report ioctls the simulated firmware
// answers. The real hidapi and libudev see it as hardware; the process must
// run with libumockdev-preload in LD_PRELOAD. One at a time per process:
// the testbed redirects /sys and /dev for the whole process.
class EmulatedCorvane {
public:
    static constexpr const char *kNode = "/dev/hidraw0";

    EmulatedCorvane();
    ~EmulatedCorvane();
    EmulatedCorvane(const EmulatedCorvane &) = delete;
    EmulatedCorvane &operator=(const EmulatedCorvane &) = delete;

    // Whether libumockdev-preload is loaded; without it the testbed is
    // invisible and the real /sys and /dev would be used.
    static bool PreloadLoaded();

    // Plugs in a controller described by `model` and announces it.
    void Plug(const SimControllerModel &model);
    // Announces the removal and takes the controller away; handles opened
    // before fail from now on, as with a real hidraw node.
    void Unplug();

    uint32_t Param(const QByteArray &tag) const;
    // Feature-report transfers answered so far.
    int Transfers() const;

private:
    static int onIoctl(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);
    static void onConnected(UMockdevIoctlBase *, UMockdevIoctlClient *client, void *self);
    void answer(UMockdevIoctlClient *client);
    void addTree(const SimControllerModel &model);
    void setNodeFile(bool present) const;

    UMockdevTestbed *m_testbed = nullptr;
    UMockdevIoctlBase *m_handler = nullptr;
    QByteArray m_root;
    QByteArray m_usbPath, m_hidrawPath;

    // Shared with umockdev's ioctl thread.
    mutable std::mutex m_mutex;
    std::optional<SimFirmware> m_firmware;
    SimFirmware::Report m_reply{};
    bool m_replyPending = false;
    int m_generation = 0;
    int m_transfers = 0;
};
