#include "core/protocol/BiosInfo.h"

#include <algorithm>

namespace {
QString text16(const char *p)
{
    const auto n = int(strnlen(p, 16));
    // The firmware writes these texts in an 8-bit code page; Latin-1 keeps every byte.
    return QString::fromLatin1(p, n);
}
} // namespace

TBiosInfo TBiosInfo::fromBytes(const uint8_t *data, int len)
{
    uint8_t raw[kWireSize] = {};
    std::memcpy(raw, data, size_t(std::clamp(len, 0, kWireSize)));

    TBiosInfo b;
    auto le = [&](int off, int n) {
        uint32_t v = 0;
        for (int i = n - 1; i >= 0; --i)
            v = (v << 8) | raw[off + i];
        return v;
    };
    b.SysId = le(0, 4);
    b.VersHi = raw[4];
    b.VersLo = raw[5];
    b.ToolVers = raw[6];
    b.BiosType = raw[7];
    b.FileSize = le(8, 4);
    b.FileChk = uint16_t(le(12, 2));
    b.FileCode = uint16_t(le(14, 2));
    std::memcpy(b.Date, raw + 16, 16);
    std::memcpy(b.ProgInfo, raw + 32, 16);
    return b;
}

void TBiosInfo::toBytes(uint8_t *out) const
{
    auto put = [&](int off, uint32_t v, int n) {
        for (int i = 0; i < n; ++i)
            out[off + i] = uint8_t(v >> (8 * i));
    };
    put(0, SysId, 4);
    out[4] = VersHi;
    out[5] = VersLo;
    out[6] = ToolVers;
    out[7] = BiosType;
    put(8, FileSize, 4);
    put(12, FileChk, 2);
    put(14, FileCode, 2);
    std::memcpy(out + 16, Date, 16);
    std::memcpy(out + 32, ProgInfo, 16);
}

QString TBiosInfo::dateText() const
{
    return text16(Date);
}

QString TBiosInfo::progInfoText() const
{
    return text16(ProgInfo);
}
