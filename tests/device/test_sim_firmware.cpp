#include "SimFixture.h"

#include "core/protocol/ParamTags.h"
#include "core/protocol/DeviceCrypto.h"

#include <gtest/gtest.h>

namespace {
class SimFirmwareTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit = sim.bus.Add(SimControllerModel::Sane(1));
        sim.start();
        sim.hid->SetDevice(0);
        uint8_t cpu[64];
        sim.hid->NewOut(0xE5);
        ASSERT_EQ(sim.hid->HidAction(cpu, 64, 100), 12);
        crypt = DeriveCrypt(cpu);
    }

    uint16_t read(const char *tag, uint32_t &value, uint16_t word)
    {
        sim.hid->NewOut(0xEC);
        sim.hid->AddOut(TLONG, tagWord(tag));
        sim.hid->AddOut(TWORD, word);
        uint8_t buf[64] = {};
        const uint16_t r = sim.hid->HidAction(buf, 64, 100);
        value = uint32_t(buf[0]) | uint32_t(buf[1]) << 8 | uint32_t(buf[2]) << 16 | uint32_t(buf[3]) << 24;
        return r;
    }
    uint16_t read(const char *tag, uint32_t &value) { return read(tag, value, crypt[kCryptReadWord]); }

    uint16_t write(uint32_t tag, uint32_t value, uint8_t function = 1, int wordIndex = kCryptWriteWord)
    {
        sim.hid->NewOut(0xED);
        sim.hid->AddOut(TLONG, tag);
        sim.hid->AddOut(TLONG, value);
        sim.hid->AddOut(TWORD, crypt[size_t(wordIndex)]);
        sim.hid->AddOut(TBYTE, function);
        uint8_t buf[64];
        return sim.hid->HidAction(buf, 64, 100);
    }

    SimTransport sim;
    SimUnit *unit = nullptr;
    TCrypt crypt{};
};
} // namespace

TEST_F(SimFirmwareTest, IdentifiesItself)
{
    uint8_t buf[318];
    sim.hid->NewOut(0xE3);
    ASSERT_EQ(sim.hid->HidAction(buf, int(sizeof buf), 100), 48);
    const TBiosInfo b = TBiosInfo::FromBytes(buf, 48);
    EXPECT_EQ(b.ToolVers, 11);
    EXPECT_NE(b.FileCode, 0);
    EXPECT_FALSE(b.DateText().isEmpty());
}

TEST_F(SimFirmwareTest, ReadsEveryParameterWithTheAccessWord)
{
    uint32_t v = 0;
    for (const SimParam &p : SimFactoryParameters()) {
        ASSERT_EQ(read(p.Tag.constData(), v), 4) << p.Tag.constData();
        EXPECT_EQ(v, p.Value);
    }
    EXPECT_EQ(read("LMAX", v, crypt[kCryptReadWord] ^ 1), Status::WrongCryptCode);
    EXPECT_EQ(read("XXXX", v), Status::IllegalValue);
}

TEST_F(SimFirmwareTest, WritesWhatTheFieldHoldsAndRefusesTheRest)
{
    EXPECT_EQ(write(tagWord("BRIG"), 150), Status::Ok);
    uint32_t v = 0;
    read("BRIG", v);
    EXPECT_EQ(v, 150u);
    EXPECT_EQ(write(tagWord("BRIG"), 150, 1, kCryptReadWord), Status::WrongCryptCode);
    EXPECT_EQ(write(tagWord("LMAX"), 100), Status::IllegalValue);
    EXPECT_EQ(write(tagWord("ABCD"), 1), Status::IllegalValue);
    EXPECT_EQ(write(tagWord("LPRO"), 6), Status::IllegalValue);
    EXPECT_EQ(write(tagWord("MCNT"), 256), Status::IllegalValue);
    EXPECT_EQ(write(tagWord("3CFG"), 0xFFFFFFFF), Status::IllegalValue);
}

TEST_F(SimFirmwareTest, RefusesMalformedCommands)
{
    uint8_t buf[64];
    sim.hid->NewOut(0xEC);
    sim.hid->AddOut(TLONG, tagWord("LMAX"));
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::WrongByteCount);
    sim.hid->NewOut(0x42);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::UnknownCommand);
    EXPECT_EQ(write(0, 0, 0x07), Status::UnknownFunction);
}

TEST_F(SimFirmwareTest, ResetRestoresFactoryValues)
{
    ASSERT_EQ(write(tagWord("BRIG"), 10), Status::Ok);
    EXPECT_EQ(write(0, 0, 0x46), Status::Ok);
    uint32_t v = 0;
    read("BRIG", v);
    EXPECT_EQ(v, 100u);
}

TEST_F(SimFirmwareTest, TestPatternAndPrepareCommand)
{
    uint8_t buf[64];
    sim.hid->NewOut(0xEE);
    sim.hid->AddOut(TLONG, 32);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::Ok);
    EXPECT_TRUE(unit->Firmware().TestPattern());
    sim.hid->NewOut(0xEF);
    sim.hid->AddOut(TWORD, 0);
    sim.hid->AddOut(TBYTE, 1);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::Ok);
    const uint8_t expected[] = {0x03, 0x03, 0xEF, 0x00, 0x00, 0x01};
    EXPECT_EQ(unit->Received().last().left(6), QByteArray(reinterpret_cast<const char *>(expected), 6));
}

TEST_F(SimFirmwareTest, InjectedStatusesAndDelays)
{
    unit->Faults().WriteStatus.insert("BRIG", 0xC3);
    EXPECT_EQ(write(tagWord("BRIG"), 1), Status::WrongCryptCode);
    EXPECT_EQ(write(tagWord("KTIM"), 1), Status::Ok);
    unit->Faults().NotReadyPolls = 3;
    uint32_t v;
    EXPECT_EQ(read("KTIM", v), 4);
    EXPECT_EQ(v, 1u);
    unit->Faults().ErrorStatus = 0xC7;
    EXPECT_EQ(read("KTIM", v), Status::ExecutionFailed);
}
