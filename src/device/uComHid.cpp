#include "device/uComHid.h"

#include <QElapsedTimer>
#include <QLoggingCategory>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <thread>

#ifdef __linux__
#include <sys/prctl.h>
#endif

Q_LOGGING_CATEGORY(lcHid, "corvane.hid")

namespace {
constexpr uint16_t kVendorId = 0x16C0;
constexpr uint16_t kProductId = 0x2AB5;
constexpr uint16_t kReleaseFamily = 0x4790;
constexpr uint8_t kStatusNotReady = 0x40;
constexpr uint8_t kDataBytesPerReport = kReportSize - 2;
const QString kSerialMissing = QStringLiteral("SERIAL IS MISSING");

// The default 50 us timer slack of the calling thread would stretch every
// 2 ms poll wait; the waits still sleep, they just wake on time.
void tightenTimerSlack()
{
#ifdef __linux__
    prctl(PR_SET_TIMERSLACK, 1000UL, 0, 0, 0);
#endif
}
} // namespace

TComHid::TComHid(HidControllerFactory controllerFactory)
    : m_factory(std::move(controllerFactory))
{
    tightenTimerSlack();
}

TComHid::TComHid(const DevListEntry &only)
    : Dev(only.object)
    , DevList{only}
{
    tightenTimerSlack();
}

TComHid::~TComHid() = default;

void TComHid::SetOnEnum(TOnHidEnum onEnum)
{
    OnHidEnum = std::move(onEnum);
    DevList.clear();
    m_hidCtrl = m_factory();
    m_hidCtrl->setOnEnumerate([this](const HidDevicePtr &device, int index) { return HidEnumerate(device, index); });
    QObject::connect(m_hidCtrl.get(), &HidController::deviceChange, m_hidCtrl.get(), [this] { HidChange(); });
    // HidData would be installed here; this system never uses input reports.
    m_hidCtrl->start();
}

void TComHid::SetDevice(int idx)
{
    Dev = (idx >= 0 && idx < DevList.size()) ? DevList[idx].object : nullptr;
}

void TComHid::NewOut(uint8_t com)
{
    OutBuf[0] = kReportId;
    OutBuf[1] = 0;
    OutBuf[2] = com;
    OutPos = 3;
}

void TComHid::refreshLength()
{
    OutBuf[1] = uint8_t((OutPos - 3) & 0xFF);
}

void TComHid::AddOut(TWidth w, int64_t data)
{
    int n = 0;
    switch (w) {
    case TBYTE: n = 1; break;
    case TWORD: n = 2; break;
    case TLONG: n = 4; break;
    }
    // A value that would not fit is refused whole: nothing appended, length kept.
    if (n == 0 || OutPos + n > kReportSize) {
        if (n == 0)
            refreshLength();
        return;
    }
    const auto u = uint64_t(data);
    for (int i = 0; i < n; ++i)
        OutBuf[OutPos + i] = uint8_t(u >> (8 * i));
    OutPos += n;
    refreshLength();
}

void TComHid::ArrOut(const uint8_t *buf, int cnt)
{
    const int n = std::clamp(cnt, 0, kReportSize - int(OutPos));
    if (n > 0)
        std::memcpy(OutBuf.data() + OutPos, buf, size_t(n));
    OutPos += n;
    refreshLength();
}

bool TComHid::exchange(bool send, uint8_t *report)
{
    if (!Dev)
        return false;
    if (send) {
        if (m_trace)
            m_trace(true, report);
        return Dev->SetFeature(report, kReportSize);
    }
    const bool ok = Dev->GetFeature(report, kReportSize);
    if (ok && m_trace)
        m_trace(false, report);
    return ok;
}

uint16_t TComHid::HidAction(uint8_t *data, int dataSize, int timeout)
{
    if (!Dev || !exchange(true, OutBuf.data()))
        return Status::CommunicationError;

    int fill = 0;
    QElapsedTimer polling;
    std::array<uint8_t, kReportSize> reply{};
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(kPollIntervalMs));
        if (!polling.isValid())
            polling.start();

        reply.fill(0);
        reply[0] = OutBuf[0];
        if (!exchange(false, reply.data()))
            return Status::CommunicationError;
        if (reply[1] != OutBuf[2])
            return Status::WrongCommandByte;

        const uint8_t s = reply[0];
        if (s == 0x00 || s >= 0x80)
            return uint16_t(Status::Ok | s);
        if (s < kStatusNotReady) {
            // A count naming more bytes than a report carries, or more than
            // the caller's buffer holds, is a broken frame.
            if (s > kDataBytesPerReport || s > dataSize)
                return Status::BadFrame;
            std::memcpy(data, reply.data() + 2, s);
            return s;
        }
        if (s > kStatusNotReady) {
            const int n = s & 0x3F;
            if (n > kDataBytesPerReport || fill + n > dataSize)
                return Status::BadFrame;
            std::memcpy(data + fill, reply.data() + 2, size_t(n));
            fill += n;
            if (fill >= 256)
                return uint16_t(fill);
        }
        if (polling.elapsed() >= timeout) {
            qCDebug(lcHid) << "reply not complete after" << timeout << "ms";
            return Status::Timeout;
        }
    }
}

void TComHid::HidChange()
{
    for (auto &entry : DevList) {
        if (entry.object)
            m_hidCtrl->CheckIn(entry.object);
        entry.object.reset();
    }
    DevList.clear();
    m_hidCtrl->Enumerate();

    // The selected device must not outlive its listing: once it is gone,
    // nothing is selected until the next SetDevice.
    const bool stillListed = std::any_of(DevList.cbegin(), DevList.cend(),
                                         [this](const DevListEntry &e) { return e.object == Dev; });
    if (!stillListed)
        Dev.reset();

    if (OnHidEnum)
        OnHidEnum();
}

bool TComHid::HidEnumerate(const HidDevicePtr &device, int index)
{
    if (device->VendorID() == kVendorId && device->ProductID() == kProductId
        && (device->VersionNumber() & 0xFFF0) == kReleaseFamily) {
        HidDevicePtr claimed = m_hidCtrl->CheckOutByIndex(index);
        if (claimed) {
            QString serial = claimed->SerialNumber();
            if (serial.isEmpty())
                serial = kSerialMissing;
            DevList.append({serial, claimed});
        }
    }
    return true;
}
