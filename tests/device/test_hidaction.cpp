#include "SimFixture.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>

namespace {
class HidActionTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        unit = sim.bus.add(SimControllerModel::sane(1));
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

// Replies as a controller may send them, what the exchange returns, how
// many reports it read, and the bytes it left at the start of the buffer.
TEST_F(HidActionTest, GathersEachReplyAsItsStatusByteSays)
{
    auto r = [](uint8_t status, const QByteArray &data = {}, uint8_t echo = 0xE5) {
        return ReplyReport(status, echo, data);
    };
    QList<QByteArray> eightParts;
    QByteArray eightPartsData;
    for (char c = 'a'; c <= 'h'; ++c) {
        eightParts << r(0x60, QByteArray(32, c));
        eightPartsData += QByteArray(32, c);
    }
    const QByteArray x32(32, 'x');
    const struct {
        const char *what;
        QList<QByteArray> script;
        int size;
        uint16_t result;
        int reads;
        QByteArray data;
    } kCases[] = {
        {"not ready three times", {r(0x40), r(0x40), r(0x40), r(0x05, "\1\2\3\4\5")}, 64, 5, 4, "\1\2\3\4\5"},
        {"wrong echo while not ready", {r(0x40, {}, 0x11), r(0x05)}, 64, Status::WrongCommandByte, 1, {}},
        {"done without data", {r(0x00)}, 64, Status::Ok, 1, {}},
        {"device error", {r(0xC3)}, 64, Status::WrongCryptCode, 1, {}},
        {"eight parts", eightParts, 318, 256, 8, eightPartsData + '\0'},
        {"one report after a part", {r(0x60, x32), r(0x02, "ab")}, 318, 2, 2, "abx"},
        {"count beyond the buffer", {r(0x05, "12345")}, 4, Status::BadFrame, 1, {}},
        {"count of 63", {r(0x3F)}, 64, Status::BadFrame, 1, {}},
        {"part of 63", {r(0x7F)}, 64, Status::BadFrame, 1, {}},
        {"parts beyond the buffer", {r(0x60), r(0x60), r(0x60)}, 64, Status::BadFrame, 3, {}},
    };
    for (const auto &c : kCases) {
        unit->faults().script = c.script;
        int reads = 0;
        sim.hid->setTrace([&](bool sent, const uint8_t *) { reads += sent ? 0 : 1; });
        uint8_t buf[318] = {};
        EXPECT_EQ(command(0xE5, buf, c.size), c.result) << c.what;
        EXPECT_EQ(reads, c.reads) << c.what;
        EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buf), c.data.size()), c.data) << c.what;
    }
}

TEST_F(HidActionTest, SilentDeviceTimesOutWithinTheBound)
{
    unit->faults().neverReady = true;
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
    unit->faults().script = parts; // the last part repeats after the script
    uint8_t buf[318];
    EXPECT_EQ(command(0xE3, buf, int(sizeof buf)), Status::Timeout);
}

TEST_F(HidActionTest, TransportFailuresAreCommunicationErrors)
{
    uint8_t buf[64];
    unit->faults().failAfterTransfers = 0; // the send fails
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
    unit->faults().notReadyPolls = 2;
    unit->faults().failAfterTransfers = 2; // send and one poll succeed, then a read fails
    EXPECT_EQ(command(0xE3, buf, 64), Status::CommunicationError);
}

TEST_F(HidActionTest, UnpluggedMidCommandFailsAndLaterCommandsToo)
{
    uint8_t buf[64];
    unit->faults().notReadyPolls = 3;
    unit->faults().unplugAfterTransfers = 2;
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
