#pragma once
#include <QString>
#include <cstdint>
#include <cstring>

// The controller's firmware information record, the reply of command 0xE3.
// Integers are little-endian on the wire; the struct is only ever filled from
// bytes through FromBytes, never cast onto a buffer.
struct TBiosInfo {
    uint32_t SysId = 0;
    uint8_t VersHi = 0;
    uint8_t VersLo = 0;
    uint8_t ToolVers = 0;
    uint8_t BiosType = 0;
    uint32_t FileSize = 0;
    uint16_t FileChk = 0;
    uint16_t FileCode = 0;
    char Date[16] = {};
    char ProgInfo[16] = {};

    static constexpr int kWireSize = 48;

    // Builds the record from the first `len` bytes of a reply; fields beyond a
    // shorter reply are zero, so nothing of an earlier device survives.
    static TBiosInfo fromBytes(const uint8_t *data, int len);
    void toBytes(uint8_t *out48) const;

    // 8-bit texts ending at the first zero byte or after 16 bytes.
    QString dateText() const;
    QString progInfoText() const;
};
static_assert(sizeof(TBiosInfo::Date) + sizeof(TBiosInfo::ProgInfo) == 32, "two 16-byte texts");
