#include "device/DeviceIdentity.h"

#include "device/uComHid.h"

namespace {
constexpr uint8_t kCmdBiosInfo = 0xE3;
constexpr uint8_t kCmdCpuInfo = 0xE5;
constexpr int kCpuInfoBytes = 12;
} // namespace

IdentifyResult identifyDevice(TComHid &hid, TBiosInfo &biosInfo, CryptWords &crypt, DeviceReadouts &readouts)
{
    IdentifyResult out;
    // Large enough for the longest reply the framing can assemble.
    std::array<uint8_t, TComHid::kMaxGatheredReply> buf{};

    hid.NewOut(kCmdBiosInfo);
    uint16_t r = hid.HidAction(buf, 100);
    if (r >= Status::FirstFailure) {
        out.error = QStringLiteral("Error Reading Biosinfo = ") + ErrToStr(r);
        out.status = r;
        return out;
    }
    // A fresh record: nothing of a device read earlier may survive a short reply.
    biosInfo = TBiosInfo::fromBytes(buf.data(), std::min<int>(r, TBiosInfo::kWireSize));

    if (biosInfo.FileCode == 0) {
        readouts.info = QStringLiteral("<<< NO BIOS >>>");
    } else {
        const int major = biosInfo.ToolVers / 10, minor = biosInfo.ToolVers % 10;
        readouts.version = QStringLiteral("v%1.%2").arg(biosInfo.VersHi).arg(biosInfo.VersLo);
        readouts.info = biosInfo.progInfoText();
        readouts.code = QStringLiteral("%1").arg(biosInfo.FileCode, 4, 16, QLatin1Char('0')).toUpper();
        readouts.date = biosInfo.dateText();
        readouts.config = QStringLiteral("v%1.%2").arg(major).arg(minor);
        if (biosInfo.ToolVers != kToolVersion) {
            out.error = QStringLiteral("Config Tool ") + QStringLiteral("v%1.%2.x").arg(major).arg(minor)
                + QStringLiteral(" required");
            return out;
        }
        out.result = true;
    }

    hid.NewOut(kCmdCpuInfo);
    r = hid.HidAction(buf, 100);
    // Fewer than 12 bytes would derive the access words from stale buffer bytes.
    if (r < Status::FirstFailure && r < kCpuInfoBytes)
        r = Status::BadFrame;
    if (r >= Status::FirstFailure) {
        out.error = QStringLiteral("Error Reading Cpuinfo = ") + ErrToStr(r);
        out.status = r;
        return out;
    }
    crypt = deriveCrypt(buf.data());
    return out;
}
