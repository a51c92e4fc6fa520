#include "fake_hidapi.h"

#include "device/hidapi/HidapiController.h"
#include "device/uComHid.h"

#include <gtest/gtest.h>

#include <QSignalSpy>

namespace {
class HidapiAdapterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        FakeHid::Reset();
        FakeHidDevice a;
        a.path = "/dev/hidraw3";
        FakeHid::Devices().append(a);
    }
    void TearDown() override { FakeHid::Reset(); }

    QList<HidDevicePtr> scan(HidapiController &c)
    {
        QList<HidDevicePtr> seen;
        c.setOnEnumerate([&](const HidDevicePtr &d, int) {
            seen.append(d);
            return true;
        });
        c.rescan();
        c.Enumerate();
        return seen;
    }

    HidDevicePtr openFirst(HidapiController &c)
    {
        scan(c);
        return c.CheckOutByIndex(0);
    }
};
} // namespace

TEST_F(HidapiAdapterTest, OneDevicePerPathWithItsAttributes)
{
    FakeHid::SetRecordsPerDevice(3);
    FakeHid::Devices()[0].serial = L"ÄB12";
    HidapiController c;
    const auto seen = scan(c);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_EQ(seen[0]->VendorID(), 0x16C0);
    EXPECT_EQ(seen[0]->ProductID(), 0x2AB5);
    EXPECT_EQ(seen[0]->VersionNumber(), 0x4790);
    EXPECT_EQ(seen[0]->SerialNumber(), QString::fromUtf8("ÄB12"));
}

// All 64 bytes go out with the report ID first; a reply's byte 0 is the
// status byte, and nothing stale is left beyond what the kernel delivered.
TEST_F(HidapiAdapterTest, TransfersWholeReportsAndFailsOnErrors)
{
    HidapiController c;
    HidDevicePtr d = openFirst(c);
    ASSERT_TRUE(d);
    uint8_t report[64] = {3, 0, 0xE3};
    report[63] = 0x5A;
    ASSERT_TRUE(d->SetFeature(report, 64));
    const QByteArray &sent = FakeHid::Devices()[0].sent.last();
    ASSERT_EQ(sent.size(), 64);
    EXPECT_EQ(sent.left(3), QByteArray("\x03\x00\xE3", 3));
    EXPECT_EQ(uint8_t(sent[63]), 0x5A);

    QByteArray reply(64, '\0');
    reply.replace(0, 3, "\x04\xEC\x78");
    FakeHid::Devices()[0].featureReply = reply;
    uint8_t buf[64];
    std::memset(buf, 0xAA, sizeof buf);
    buf[0] = 3;
    ASSERT_TRUE(d->GetFeature(buf, 64));
    EXPECT_EQ(QByteArray(reinterpret_cast<const char *>(buf), 64), reply);

    FakeHid::Devices()[0].featureReply = QByteArray(64, char(0x77));
    FakeHid::Devices()[0].getResult = 10;
    std::memset(buf, 0xAA, sizeof buf);
    buf[0] = 3;
    ASSERT_TRUE(d->GetFeature(buf, 64));
    EXPECT_EQ(buf[9], 0x77);
    EXPECT_EQ(buf[10], 0);
    FakeHid::Devices()[0].getResult = -1;
    buf[0] = 3;
    EXPECT_FALSE(d->GetFeature(buf, 64));
    FakeHid::Devices()[0].sendFails = true;
    EXPECT_FALSE(d->SetFeature(buf, 64));
}

TEST_F(HidapiAdapterTest, PluggedDeviceKeepsItsObjectAndHandle)
{
    HidapiController c;
    HidDevicePtr first = openFirst(c);
    FakeHidDevice b;
    b.path = "/dev/hidraw7";
    b.serial = L"B";
    FakeHid::Devices().prepend(b);
    const auto seen = scan(c);
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[1], first);
    EXPECT_EQ(c.CheckOutByIndex(1), first);
    EXPECT_EQ(FakeHid::Find("/dev/hidraw3")->opens, 1);
    EXPECT_EQ(FakeHid::Find("/dev/hidraw3")->closes, 0);
}

TEST_F(HidapiAdapterTest, DeviceThatLeftIsClosedAndFails)
{
    HidapiController c;
    QSignalSpy changes(&c, &HidController::deviceChange);
    HidDevicePtr d = openFirst(c);
    FakeHid::Devices()[0].path = "/dev/hidraw4"; // replugged under another node
    const auto seen = scan(c);
    EXPECT_EQ(FakeHid::ClosedPaths(), QList<std::string>{"/dev/hidraw3"});
    ASSERT_EQ(seen.size(), 1);
    EXPECT_NE(seen[0], d);
    uint8_t buf[64] = {3};
    EXPECT_FALSE(d->SetFeature(buf, 64));
    EXPECT_EQ(changes.count(), 2);
}

TEST_F(HidapiAdapterTest, PermissionProblemIsExplained)
{
    FakeHid::Devices()[0].openErrno = EACCES;
    HidapiController c;
    HidDevicePtr d = openFirst(c);
    ASSERT_TRUE(d); // still listed, so the user sees it
    EXPECT_TRUE(d->accessProblem().contains("70-corvane.rules"));
    EXPECT_TRUE(d->accessProblem().contains("/dev/hidraw3"));
    uint8_t buf[64] = {3};
    EXPECT_FALSE(d->SetFeature(buf, 64));
}

// Another controller that takes the node of one that left between two scans
// is a new device: the old handle is closed, the new one opened afresh.
TEST_F(HidapiAdapterTest, ChangedDeviceAtAKnownPathIsANewDevice)
{
    HidapiController c;
    HidDevicePtr old = openFirst(c);
    FakeHid::Devices()[0].serial = L"OTHER";
    auto seen = scan(c);
    ASSERT_EQ(seen.size(), 1);
    EXPECT_NE(seen[0], old);
    EXPECT_EQ(seen[0]->SerialNumber(), "OTHER");
    EXPECT_EQ(FakeHid::ClosedPaths(), QList<std::string>{"/dev/hidraw3"});
    uint8_t buf[64] = {3};
    EXPECT_FALSE(old->SetFeature(buf, 64));
    ASSERT_TRUE(c.CheckOutByIndex(0)->SetFeature(buf, 64));

    // The same controller whose node was removed and added again is new too.
    HidDevicePtr current = seen[0];
    c.rescan({"/dev/hidraw3"});
    seen = scan(c);
    EXPECT_NE(seen[0], current);
    EXPECT_EQ(seen[0]->SerialNumber(), "OTHER");
    EXPECT_EQ(FakeHid::ClosedPaths().size(), 2);
}

TEST_F(HidapiAdapterTest, FailedStartIsReportedWithItsReason)
{
    {
        HidapiController working;
        working.start();
        EXPECT_TRUE(working.startError().isEmpty());
    }
    FakeHid::FailInit(-1, L"Couldn't create udev context");
    TComHid hid([] { return std::make_unique<HidapiController>(); });
    int notified = 0;
    hid.SetOnEnum([&] { ++notified; });
    EXPECT_EQ(hid.startError(), "Cannot access USB HID devices: Couldn't create udev context");
    EXPECT_EQ(notified, 1); // the empty first scan is still reported
    EXPECT_TRUE(hid.devices().isEmpty());
    EXPECT_EQ(FakeHid::Devices()[0].opens, 0);

    FakeHid::FailInit(-1, L"Success"); // hidapi gave no reason
    EXPECT_EQ(HidapiController().startError(), "Cannot access USB HID devices: hid_init returned -1");
}
