#include "SimFixture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {
class HidActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit = sim.bus.Add(SimControllerModel::Sane(1));
        sim.start();
        SimTransport::settle();
        ASSERT_EQ(sim.hid->devices().size(), 1);
        sim.hid->SetDevice(0);
    }

    uint16_t command(uint8_t cmd, uint8_t *buf, int size)
    {
        sim.hid->NewOut(cmd);
        return sim.hid->HidAction(buf, size, 100);
    }

    SimTransport sim;
    SimUnit *unit = nullptr;
};
} // namespace

TEST_F(HidActionTest, NotReadyThenDataGivesTheCountAfterFourReads)
{
    unit->Faults().Script = {ReplyReport(0x40, 0xE5), ReplyReport(0x40, 0xE5), ReplyReport(0x40, 0xE5),
                             ReplyReport(0x05, 0xE5, QByteArray("\x01\x02\x03\x04\x05", 5))};
    int reads = 0;
    sim.hid->SetTrace([&](bool sent, const uint8_t *) { reads += sent ? 0 : 1; });
    uint8_t buf[64] = {};
    EXPECT_EQ(command(0xE5, buf, 64), 5);
    EXPECT_EQ(reads, 4);
    EXPECT_EQ(buf[0], 1);
    EXPECT_EQ(buf[4], 5);
}

TEST_F(HidActionTest, WrongEchoEndsAtOnceEvenWhenNotReady)
{
    unit->Faults().Script = {ReplyReport(0x40, 0x11), ReplyReport(0x05, 0xE5)};
    uint8_t buf[64];
    EXPECT_EQ(command(0xE5, buf, 64), Status::WrongCommandByte);
}

TEST_F(HidActionTest, DoneWithoutDataIsOkAndErrorsCarryTheStatus)
{
    unit->Faults().Script = {ReplyReport(0x00, 0xEF)};
    uint8_t buf[64];
    EXPECT_EQ(command(0xEF, buf, 64), Status::Ok);
    unit->Faults().Script = {ReplyReport(0xC3, 0xEC)};
    EXPECT_EQ(command(0xEC, buf, 64), Status::WrongCryptCode);
    EXPECT_EQ(ErrToStr(Status::Ok), "0x8000 (OK)");
}

TEST_F(HidActionTest, MultiReportReplyEndsAt256)
{
    QList<QByteArray> parts;
    for (int i = 0; i < 8; ++i)
        parts.append(ReplyReport(0x60, 0xE3, QByteArray(32, char('a' + i))));
    unit->Faults().Script = parts;
    uint8_t buf[318] = {};
    EXPECT_EQ(command(0xE3, buf, int(sizeof buf)), 256);
    EXPECT_EQ(buf[0], 'a');
    EXPECT_EQ(buf[255], 'h');
    EXPECT_EQ(buf[256], 0);
}

TEST_F(HidActionTest, SingleReportAfterPartsRestartsAtTheStart)
{
    unit->Faults().Script = {ReplyReport(0x60, 0xE3, QByteArray(32, 'x')), ReplyReport(0x02, 0xE3, "ab")};
    uint8_t buf[318] = {};
    EXPECT_EQ(command(0xE3, buf, int(sizeof buf)), 2);
    EXPECT_EQ(buf[0], 'a');
    EXPECT_EQ(buf[2], 'x');
}

TEST_F(HidActionTest, RepliesThatDoNotFitAreBadFrames)
{
    uint8_t small[4];
    unit->Faults().Script = {ReplyReport(0x05, 0xEC, "12345")};
    EXPECT_EQ(command(0xEC, small, 4), Status::BadFrame);

    uint8_t buf[64];
    unit->Faults().Script = {ReplyReport(0x3F, 0xEC)};
    EXPECT_EQ(command(0xEC, buf, 64), Status::BadFrame);
    unit->Faults().Script = {ReplyReport(0x7F, 0xEC)};
    EXPECT_EQ(command(0xEC, buf, 64), Status::BadFrame);

    // Parts into a 64-byte buffer overflow on the third part.
    unit->Faults().Script = {ReplyReport(0x60, 0xEC), ReplyReport(0x60, 0xEC), ReplyReport(0x60, 0xEC)};
    EXPECT_EQ(command(0xEC, buf, 64), Status::BadFrame);
}

TEST_F(HidActionTest, SilentDeviceTimesOutWithinTheBound)
{
    unit->Faults().NeverReady = true;
    uint8_t buf[64];
    QElapsedTimer t;
    t.start();
    EXPECT_EQ(command(0xE3, buf, 64), Status::Timeout);
    EXPECT_GE(t.elapsed(), 100);
    EXPECT_LT(t.elapsed(), 400);
}

TEST_F(HidActionTest, PartsBelow256TimeOutToo)
{
    QList<QByteArray> parts(60, ReplyReport(0x41, 0xE3, "z"));
    unit->Faults().Script = parts; // the last part repeats after the script
    uint8_t buf[318];
    EXPECT_EQ(command(0xE3, buf, int(sizeof buf)), Status::Timeout);
}

TEST_F(HidActionTest, TransportFailuresAreCommunicationErrors)
{
    uint8_t buf[64];
    unit->Faults().FailAfterTransfers = 0; // the send fails
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
    unit->Faults().NotReadyPolls = 2;
    unit->Faults().FailAfterTransfers = 2; // send and one poll succeed, then a read fails
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
}

TEST_F(HidActionTest, UnpluggedMidCommandFailsAndLaterCommandsToo)
{
    uint8_t buf[64];
    unit->Faults().NotReadyPolls = 3;
    unit->Faults().UnplugAfterTransfers = 2;
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
    SimTransport::settle();
    EXPECT_TRUE(sim.hid->devices().isEmpty());
    EXPECT_EQ(sim.hid->device(), nullptr);
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
}

TEST(HidActionWithoutDevice, FailsAtOnce)
{
    SimTransport sim;
    sim.start();
    uint8_t buf[64];
    sim.hid->NewOut(0xE3);
    EXPECT_EQ(sim.hid->HidAction(buf, 64, 100), Status::CommunicationError);
}
