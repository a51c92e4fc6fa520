#include "device/hidapi/HidapiDevice.h"

#include "device/AccessHint.h"

#include <hidapi.h>

#include <QLoggingCategory>

#include <cerrno>
#include <cstring>

Q_LOGGING_CATEGORY(lcHidapi, "corvane.hidapi")

namespace {
QString hidError(hid_device *dev)
{
    const wchar_t *e = hid_error(dev);
    return e ? QString::fromWCharArray(e) : QString();
}
} // namespace

HidapiDevice::HidapiDevice(QByteArray path, uint16_t vid, uint16_t pid, uint16_t release, QString serial)
    : m_path(std::move(path))
    , m_vid(vid)
    , m_pid(pid)
    , m_release(release)
    , m_serial(std::move(serial))
{
}

HidapiDevice::~HidapiDevice()
{
    close();
}

void HidapiDevice::open()
{
    if (m_handle || m_gone)
        return;
    errno = 0;
    m_handle = hid_open_path(m_path.constData());
    if (m_handle) {
        m_problem.clear();
        return;
    }
    const int err = errno;
    const QString path = QString::fromLocal8Bit(m_path);
    if (err == EACCES || err == EPERM) {
        m_problem = noPermissionText(nodeAccess(path, installedUdevRule()));
    } else {
        m_problem = QStringLiteral("Cannot open the CORVANE at %1: %2")
                        .arg(path, err ? QString::fromLocal8Bit(std::strerror(err)) : hidError(nullptr));
    }
    qCWarning(lcHidapi).noquote() << m_problem;
}

void HidapiDevice::close()
{
    if (m_handle)
        hid_close(m_handle);
    m_handle = nullptr;
    m_gone = true;
}

bool HidapiDevice::SetFeature(const uint8_t *report, int len)
{
    if (!m_handle || len <= 0)
        return false;
    // hidapi counts the report ID in byte 0 as part of the length.
    const int res = hid_send_feature_report(m_handle, report, size_t(len));
    if (res < 0) {
        qCDebug(lcHidapi).noquote() << "send feature report failed:" << hidError(m_handle);
        return false;
    }
    return true;
}

bool HidapiDevice::GetFeature(uint8_t *report, int len)
{
    if (!m_handle || len <= 0)
        return false;
    const uint8_t reportId = report[0];
    std::memset(report, 0, size_t(len));
    report[0] = reportId;
    const int res = hid_get_feature_report(m_handle, report, size_t(len));
    if (res < 0) {
        qCDebug(lcHidapi).noquote() << "get feature report failed:" << hidError(m_handle);
        return false;
    }
    // A short report leaves the rest zero; byte 0 is the device's status byte.
    if (res < len)
        std::memset(report + res, 0, size_t(len - res));
    return true;
}
