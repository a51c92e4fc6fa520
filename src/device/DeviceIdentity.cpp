#include "device/DeviceIdentity.h"

#include "device/uComHid.h"

namespace {
constexpr uint8_t kCmdBiosInfo = 0xE3;
constexpr uint8_t kCmdCpuInfo = 0xE5;
constexpr int kCpuInfoBytes = 12;
} // namespace

TIdentifyResult IdentifyDevice(TComHid &hid, TBiosInfo &BiosInfo, TCrypt &Crypt, TDeviceReadouts &readouts)
{
    TIdentifyResult out;
    // Large enough for the longest reply the framing can assemble.
    std::array<uint8_t, TComHid::kMaxGatheredReply> buf{};

    hid.NewOut(kCmdBiosInfo);
    uint16_t r = hid.HidAction(buf, 100);
    if (r >= Status::FirstFailure) {
        out.Error = QStringLiteral("Error Reading Biosinfo = ") + ErrToStr(r);
        out.Status = r;
        return out;
    }
    // A fresh record: nothing of a device read earlier may survive a short reply.
    BiosInfo = TBiosInfo::FromBytes(buf.data(), std::min<int>(r, TBiosInfo::kWireSize));

    if (BiosInfo.FileCode == 0) {
        readouts.Info = QStringLiteral("<<< NO BIOS >>>");
    } else {
        const int major = BiosInfo.ToolVers / 10, minor = BiosInfo.ToolVers % 10;
        readouts.Version = QStringLiteral("v%1.%2").arg(BiosInfo.VersHi).arg(BiosInfo.VersLo);
        readouts.Info = BiosInfo.ProgInfoText();
        readouts.Code = QStringLiteral("%1").arg(BiosInfo.FileCode, 4, 16, QLatin1Char('0')).toUpper();
        readouts.Date = BiosInfo.DateText();
        readouts.Config = QStringLiteral("v%1.%2").arg(major).arg(minor);
        if (BiosInfo.ToolVers != kToolVersion) {
            out.Error = QStringLiteral("Config Tool ") + QStringLiteral("v%1.%2.x").arg(major).arg(minor)
                + QStringLiteral(" required");
            return out;
        }
        out.Result = true;
    }

    hid.NewOut(kCmdCpuInfo);
    r = hid.HidAction(buf, 100);
    // Fewer than 12 bytes would derive the access words from stale buffer bytes.
    if (r < Status::FirstFailure && r < kCpuInfoBytes)
        r = Status::BadFrame;
    if (r >= Status::FirstFailure) {
        out.Error = QStringLiteral("Error Reading Cpuinfo = ") + ErrToStr(r);
        out.Status = r;
        return out;
    }
    Crypt = DeriveCrypt(buf.data());
    return out;
}
