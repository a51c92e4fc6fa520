#include "core/protocol/DeviceCrypto.h"

namespace {
uint32_t readLe32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

void writeLe32(uint8_t *p, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        p[i] = uint8_t(v >> (8 * i));
}
} // namespace

uint32_t CalcCrc(const uint8_t *data, uint16_t len)
{
    uint32_t c = 0xFFFFFFFFu;
    for (uint32_t off = 0; off + 4 <= len; off += 4) {
        c ^= readLe32(data + off);
        for (int bit = 0; bit < 32; ++bit)
            c = (c & 0x80000000u) ? (c << 1) ^ 0x04C11DB7u : (c << 1);
    }
    return c;
}

CryptWords deriveCrypt(const uint8_t *cpuInfo12)
{
    const uint32_t w0 = readLe32(cpuInfo12), w1 = readLe32(cpuInfo12 + 4), w2 = readLe32(cpuInfo12 + 8);
    uint8_t words[24];
    const uint32_t six[6] = {w0, w1, w2, w0 ^ w1, w1 ^ w2, w2 ^ w0};
    for (int i = 0; i < 6; ++i)
        writeLe32(words + 4 * i, six[i]);

    CryptWords crypt{};
    for (int k = 0; k < 4; ++k) {
        const uint32_t code = CalcCrc(words + 4 * k, 12);
        crypt[2 * k] = uint16_t(code >> 16);
        crypt[2 * k + 1] = uint16_t(code & 0xFFFF);
    }
    return crypt;
}
