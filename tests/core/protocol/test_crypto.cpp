#include "core/protocol/BiosInfo.h"
#include "core/protocol/DeviceCrypto.h"

#include <gtest/gtest.h>

// Expected values come from an independent CRC-32/MPEG-2 implementation.
TEST(AccessCodes, CrcKnownAnswers)
{
    const uint8_t zeros[12] = {};
    EXPECT_EQ(CalcCrc(zeros, 12), 0x099C5421u);
    EXPECT_EQ(CalcCrc(zeros, 0), 0xFFFFFFFFu);
}

TEST(AccessCodes, DerivedFromCpuInformation)
{
    const uint8_t cpu[12] = {0x10, 0x32, 0x54, 0x76, 0x98, 0xBA, 0xDC, 0xFE, 0x01, 0x23, 0x45, 0x67};
    const CryptWords c = deriveCrypt(cpu);
    const CryptWords expected = {0xB471, 0x68EE, 0x8A57, 0x50EF, 0x2533, 0x5F46, 0x7136, 0x542E};
    EXPECT_EQ(c, expected);
    EXPECT_EQ(c[kCryptReadWord], 0x2533);
    EXPECT_EQ(c[kCryptWriteWord], 0x5F46);
}

TEST(BiosRecord, ShortReplyLeavesNothingOfAnEarlierDevice)
{
    uint8_t full[48];
    for (int i = 0; i < 48; ++i)
        full[i] = uint8_t(0x41 + i % 26);
    const TBiosInfo a = TBiosInfo::fromBytes(full, 48);
    EXPECT_EQ(a.SysId, 0x44434241u);
    EXPECT_EQ(a.dateText().size(), 16);

    const uint8_t shortReply[6] = {1, 2, 3, 4, 5, 6};
    const TBiosInfo b = TBiosInfo::fromBytes(shortReply, 6);
    EXPECT_EQ(b.SysId, 0x04030201u);
    EXPECT_EQ(b.VersHi, 5);
    EXPECT_EQ(b.ToolVers, 0);
    EXPECT_EQ(b.FileCode, 0);
    EXPECT_TRUE(b.progInfoText().isEmpty());
}

TEST(BiosRecord, RoundTripsThroughBytes)
{
    TBiosInfo b;
    b.SysId = 0x80000001;
    b.VersHi = 2;
    b.VersLo = 5;
    b.ToolVers = 11;
    b.FileCode = 0x4A2F;
    std::strncpy(b.Date, "2026-12-08", 16);
    std::memset(b.ProgInfo, 'X', 16); // no terminator: text ends after 16 bytes
    uint8_t raw[48];
    b.toBytes(raw);
    const TBiosInfo c = TBiosInfo::fromBytes(raw, 48);
    EXPECT_EQ(c.SysId, 0x80000001u);
    EXPECT_EQ(c.FileCode, 0x4A2F);
    EXPECT_EQ(c.dateText(), "2026-12-08");
    EXPECT_EQ(c.progInfoText(), QString(16, 'X'));
}
