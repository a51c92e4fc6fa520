#include "SimFixture.h"

#include "device/DeviceFunctions.h"
#include "device/DeviceIdentity.h"

#include <gtest/gtest.h>

namespace {
class IdentityTest : public ::testing::Test {
protected:
    void open(const SimControllerModel &model)
    {
        unit = sim.bus.Add(model);
        sim.start();
        sim.hid->SetDevice(0);
    }
    TIdentifyResult identify() { return IdentifyDevice(*sim.hid, bios, crypt, readouts); }

    SimTransport sim;
    SimUnit *unit = nullptr;
    TBiosInfo bios;
    TCrypt crypt{};
    TDeviceReadouts readouts;
};
} // namespace

TEST_F(IdentityTest, HealthyControllerFillsEverything)
{
    auto model = SimControllerModel::Sane(1);
    model.Bios.FileCode = 0x4A2F;
    model.Bios.VersHi = 2;
    model.Bios.VersLo = 5;
    open(model);
    const auto r = identify();
    EXPECT_TRUE(r.Result);
    EXPECT_TRUE(r.Error.isEmpty());
    EXPECT_EQ(readouts.Version, "v2.5");
    EXPECT_EQ(readouts.Code, "4A2F");
    EXPECT_EQ(readouts.Config, "v1.1");
    EXPECT_EQ(readouts.Info, "CORVANE-8CH");
    EXPECT_EQ(readouts.Date, "2026-11-20");
    EXPECT_EQ(crypt[kCryptReadWord], unit->Firmware().ReadWord());
    EXPECT_EQ(crypt[kCryptWriteWord], unit->Firmware().WriteWord());
}

TEST_F(IdentityTest, SmallFileCodeHasFourDigits)
{
    auto model = SimControllerModel::Sane(1);
    model.Bios.FileCode = 0x00AB;
    open(model);
    identify();
    EXPECT_EQ(readouts.Code, "00AB");
}

TEST_F(IdentityTest, OtherConfigurationVersionIsRefusedWithoutReadingCpuInfo)
{
    auto model = SimControllerModel::Sane(1);
    model.Bios.ToolVers = 12;
    model.Bios.VersHi = 2;
    model.Bios.VersLo = 5;
    open(model);
    const auto r = identify();
    EXPECT_FALSE(r.Result);
    EXPECT_EQ(r.Error, "Config Tool v1.2.x required");
    EXPECT_EQ(readouts.Version, "v2.5");
    EXPECT_EQ(readouts.Config, "v1.2");
    EXPECT_EQ(unit->Received().size(), 1); // only 0xE3
    EXPECT_EQ(crypt, TCrypt{});
}

TEST_F(IdentityTest, DeviceWithoutFirmwareStillYieldsAccessWords)
{
    auto model = SimControllerModel::Sane(1);
    model.Bios.FileCode = 0;
    open(model);
    const auto r = identify();
    EXPECT_FALSE(r.Result);
    EXPECT_TRUE(r.Error.isEmpty());
    EXPECT_EQ(readouts.Info, "<<< NO BIOS >>>");
    EXPECT_EQ(readouts.Version, "---");
    EXPECT_EQ(readouts.Code, "---");
    EXPECT_EQ(unit->Received().size(), 2);
    EXPECT_EQ(crypt[kCryptWriteWord], unit->Firmware().WriteWord());
}

TEST_F(IdentityTest, UnreadableFirmwareInformationChangesNothing)
{
    open(SimControllerModel::Sane(1));
    bios.SysId = 0x1234;
    unit->Faults().ErrorStatus = 0xC7;
    const auto r = identify();
    EXPECT_FALSE(r.Result);
    EXPECT_EQ(r.Error, "Error Reading Biosinfo = 0x80C7 (Execution Failed)");
    EXPECT_EQ(bios.SysId, 0x1234u);
    EXPECT_EQ(readouts.Version, "---");
}

TEST_F(IdentityTest, UnreadableCpuInformationKeepsResultAndAccessWords)
{
    open(SimControllerModel::Sane(1));
    crypt = {1, 2, 3, 4, 5, 6, 7, 8};
    unit->Faults().UnplugAfterTransfers = 2; // 0xE3 send and poll succeed, then the device leaves
    const auto r = identify();
    EXPECT_TRUE(r.Result);
    EXPECT_EQ(r.Error, "Error Reading Cpuinfo = 0xE000 (Communication Error)");
    EXPECT_EQ(crypt, (TCrypt{1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(readouts.Code, "4A2F");
}

TEST_F(IdentityTest, ShortFirmwareReplyClearsTheRestOfTheRecord)
{
    auto model = SimControllerModel::Sane(1);
    open(model);
    identify();
    ASSERT_EQ(bios.ToolVers, 11);
    unit->Firmware().Model().BiosReplyLength = 4; // only SysId
    const auto r = identify();
    EXPECT_FALSE(r.Result);
    EXPECT_EQ(bios.SysId, model.Bios.SysId);
    EXPECT_EQ(bios.FileCode, 0);
    EXPECT_EQ(readouts.Info, "<<< NO BIOS >>>");
}

TEST_F(IdentityTest, ShortCpuReplyIsABadFrame)
{
    auto model = SimControllerModel::Sane(1);
    model.CpuReplyLength = 3;
    open(model);
    crypt = {1, 2, 3, 4, 5, 6, 7, 8};
    const auto r = identify();
    EXPECT_TRUE(r.Result);
    EXPECT_EQ(r.Error, "Error Reading Cpuinfo = 0xB000 (Bad Data in Frame)");
    EXPECT_EQ(crypt, (TCrypt{1, 2, 3, 4, 5, 6, 7, 8}));
}

TEST(ParamIo, ReadsLittleEndianAndRejectsShortAnswers)
{
    SimTransport sim;
    SimUnit *unit = sim.bus.Add(SimControllerModel::Sane(1));
    sim.start();
    sim.hid->SetDevice(0);
    TAnswerBuf buf{};
    uint32_t v = 0;
    unit->Faults().Script = {ReplyReport(4, 0xEC, QByteArray("\x78\x56\x34\x12", 4))};
    EXPECT_EQ(ReadParameter(*sim.hid, buf, "LMAX", 0, v), 4);
    EXPECT_EQ(v, 0x12345678u);
    unit->Faults().Script = {ReplyReport(2, 0xEC, QByteArray("\x01\x02", 2))};
    v = 7;
    EXPECT_EQ(ReadParameter(*sim.hid, buf, "LMAX", 0, v), Status::BadFrame);
    EXPECT_EQ(v, 7u);
    unit->Faults().Script = {ReplyReport(0, 0xEC)};
    EXPECT_EQ(ReadParameter(*sim.hid, buf, "LMAX", 0, v), Status::Ok); // "OK" without data fails for a read
    const uint8_t expected[] = {0x03, 0x06, 0xEC, 0x4C, 0x4D, 0x41, 0x58, 0x34, 0x12};
    ReadParameter(*sim.hid, buf, "LMAX", 0x1234, v);
    EXPECT_EQ(unit->Received().last().left(9), QByteArray(reinterpret_cast<const char *>(expected), 9));
}

TEST(DeviceFunctionsWire, ReportsAsTheControllerExpects)
{
    SimTransport sim;
    SimUnit *unit = sim.bus.Add(SimControllerModel::Sane(1));
    unit->RestartDelayMs = 20;
    sim.start();
    sim.hid->SetDevice(0);
    TAnswerBuf buf{};
    const uint16_t w = unit->Firmware().WriteWord();
    auto hex = [](const QByteArray &b, int n) { return b.left(n).toHex(' ').toUpper(); };

    EXPECT_EQ(ActivateTestPattern(*sim.hid, buf), Status::Ok);
    EXPECT_EQ(hex(unit->Received().last(), 7), "03 04 EE 20 00 00 00");

    unit->ClearReceived();
    EXPECT_EQ(ResetToDefaults(*sim.hid, buf, w), Status::Ok);
    ASSERT_EQ(unit->Received().size(), 2);
    EXPECT_EQ(hex(unit->Received()[0], 6), "03 03 EF 00 00 01");
    const QByteArray second = unit->Received()[1];
    EXPECT_EQ(hex(second, 11), "03 0B ED 00 00 00 00 00 00 00 00");
    EXPECT_EQ(uint8_t(second[11]), w & 0xFF);
    EXPECT_EQ(uint8_t(second[12]), w >> 8);
    EXPECT_EQ(uint8_t(second[13]), 0x46);

    // Past the reset's settle wait, without waiting it out.
    unit->Firmware().Now = [] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(kResetSettleMs); };
    EXPECT_EQ(RestartDevice(*sim.hid, buf, w ^ 0x0101), Status::WrongCryptCode);
    EXPECT_EQ(RestartDevice(*sim.hid, buf, w), Status::Ok);
    EXPECT_EQ(uint8_t(unit->Received().last()[13]), 0x01);
}
