// Arbitrary bytes as a controller's replies: HidAction must neither crash,
// nor write past the caller's buffer, nor report more bytes than it holds.
//
// Input: one byte choosing the caller's buffer size, one command byte, then
// the 64-byte reports the device answers with, one per poll; when they run
// out the device is gone.
#include "device/uComHid.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

// The transport sleeps 2 ms before every poll, which would cap fuzzing at a
// few hundred inputs a second; this device has no timing to wait for.
extern "C" int nanosleep(const struct timespec *, struct timespec *)
{
    return 0;
}

namespace {

class FuzzDevice : public HidDevice {
public:
    FuzzDevice(const uint8_t *data, size_t size) : m_data(data), m_size(size) {}
    uint16_t VendorID() const override { return 0x16C0; }
    uint16_t ProductID() const override { return 0x2AB5; }
    uint16_t VersionNumber() const override { return 0x4790; }
    QString SerialNumber() const override { return QStringLiteral("FUZZ"); }
    bool SetFeature(const uint8_t *, int len) override { return len == kReportSize; }
    bool GetFeature(uint8_t *report, int len) override
    {
        if (len != kReportSize || m_size < size_t(kReportSize))
            return false;
        std::memcpy(report, m_data, kReportSize);
        m_data += kReportSize;
        m_size -= kReportSize;
        return true;
    }

private:
    const uint8_t *m_data;
    size_t m_size;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size < 2)
        return 0;
    static const int sizes[] = {0, 1, 4, 48, 62, 255, 256, TComHid::kMaxGatheredReply};
    const int dataSize = sizes[data[0] % (sizeof sizes / sizeof *sizes)];
    TComHid hid(DevListEntry{QString(), std::make_shared<FuzzDevice>(data + 2, size - 2)});
    hid.NewOut(data[1]);
    hid.AddOut(TLONG, 0x12345678);
    // Exactly the caller's size on the heap: one byte more written is caught.
    std::vector<uint8_t> reply(static_cast<size_t>(dataSize));
    const uint16_t result = hid.HidAction(reply.data(), dataSize, 100);
    if (result < 0x8000 && result > dataSize)
        std::abort();
    return 0;
}
