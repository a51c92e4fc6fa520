// The real hidapi (hidraw) and udev code under TComHid, against a controller
// emulated with umockdev: enumeration, feature reports and hot-plug go
// through the same library calls as with hardware.
#include "EmulatedCorvane.h"

#include "core/protocol/ParamTags.h"
#include "core/protocol/StatusCodes.h"
#include "device/DeviceIdentity.h"
#include "device/ParamIo.h"
#include "device/SystemHidController.h"
#include "device/uComHid.h"

#include <QTest>

#include <gtest/gtest.h>

#include <memory>

namespace {
class EmulatedHidraw : public ::testing::Test {
protected:
    void SetUp() override
    {
        // Without the preload the testbed is ignored and these tests would
        // reach the machine's real /sys and /dev: fail, never skip.
        ASSERT_TRUE(EmulatedCorvane::PreloadLoaded())
            << "run under umockdev-wrapper (LD_PRELOAD=libumockdev-preload.so.0)";
        bus = std::make_unique<EmulatedCorvane>();
    }

    // The transport as the programs build it; the udev monitor must be
    // created after the testbed.
    void start()
    {
        hid = std::make_unique<TComHid>([] { return makeSystemHidController(); });
        hid->SetOnEnum([this] { ++enumerations; });
    }

    QStringList listed() const
    {
        QStringList serials;
        for (const DevListEntry &e : std::as_const(hid->devices()))
            serials << e.text;
        return serials;
    }

    static bool waitFor(const std::function<bool()> &pred) { return QTest::qWaitFor(pred, 5000); }

    IdentifyResult identify()
    {
        hid->SetDevice(0);
        return identifyDevice(*hid, bios, crypt, readouts);
    }

    uint16_t read(const QByteArray &tag, uint32_t &value)
    {
        return readParameter(*hid, buf, tag, crypt[kCryptReadWord], value);
    }

    std::unique_ptr<EmulatedCorvane> bus; // outlives the transport
    std::unique_ptr<TComHid> hid;
    int enumerations = 0;
    TBiosInfo bios;
    CryptWords crypt{};
    DeviceReadouts readouts;
    AnswerBuf buf{};
};

TEST_F(EmulatedHidraw, IdentifiesReadsAllAndWrites)
{
    bus->Plug(SimControllerModel::sane(1));
    start();
    ASSERT_EQ(listed(), QStringList{"SIM0001"});
    EXPECT_EQ(hid->devices()[0].object->VersionNumber(), 0x4790);
    EXPECT_TRUE(hid->startError().isEmpty());

    const IdentifyResult id = identify();
    ASSERT_TRUE(id.result) << id.error.toStdString();
    EXPECT_EQ(readouts.version, "v2.3");
    EXPECT_EQ(readouts.config, "v1.1");

    for (const char *code : kParamTagCodes) {
        const QByteArray tag(code);
        uint32_t value = 0;
        ASSERT_LT(read(tag, value), Status::FirstFailure) << tag.constData();
        EXPECT_EQ(value, bus->Param(tag)) << tag.constData();
    }

    EXPECT_EQ(writeParameter(*hid, buf, "BRIG", 42, crypt[kCryptWriteWord]), Status::Ok);
    EXPECT_EQ(bus->Param("BRIG"), 42u);
    uint32_t brig = 0;
    EXPECT_LT(read("BRIG", brig), Status::FirstFailure);
    EXPECT_EQ(brig, 42u);
}

TEST_F(EmulatedHidraw, PlugAndUnplugReachTheDeviceListThroughUdev)
{
    start();
    EXPECT_TRUE(listed().isEmpty());

    bus->Plug(SimControllerModel::sane(1));
    ASSERT_TRUE(waitFor([&] { return listed() == QStringList{"SIM0001"}; }));
    // One look at the bus for the burst, none while nothing happens.
    const int settled = enumerations;
    QTest::qWait(350);
    EXPECT_EQ(enumerations, settled);
    ASSERT_TRUE(identify().result);
    const HidDevicePtr device = hid->device();

    // Gone in the middle of a session: the next command fails at once,
    // before the removal has even been seen.
    bus->Unplug();
    uint32_t value = 0;
    EXPECT_EQ(read("BRIG", value), Status::CommunicationError);
    ASSERT_TRUE(waitFor([&] { return listed().isEmpty(); }));
    EXPECT_EQ(hid->device(), nullptr);
    uint8_t report[64] = {3};
    EXPECT_FALSE(device->SetFeature(report, 64));
}

TEST_F(EmulatedHidraw, AnotherControllerAtTheSameNodeIsANewDevice)
{
    bus->Plug(SimControllerModel::sane(1));
    start();
    ASSERT_TRUE(identify().result);
    const HidDevicePtr first = hid->device();

    // Both changes fall into one settle window of the udev monitor.
    bus->Unplug();
    bus->Plug(SimControllerModel::sane(2));
    ASSERT_TRUE(waitFor([&] { return listed() == QStringList{"SIM0002"}; }));
    EXPECT_EQ(hid->device(), nullptr);
    uint8_t report[64] = {3};
    EXPECT_FALSE(first->SetFeature(report, 64));
    ASSERT_TRUE(identify().result);
    uint32_t value = 0;
    EXPECT_LT(read("BRIG", value), Status::FirstFailure);

    // The same controller back at its node is a new device as well: the
    // handle opened before its removal is dead.
    const HidDevicePtr second = hid->device();
    const int before = enumerations;
    bus->Unplug();
    bus->Plug(SimControllerModel::sane(2));
    ASSERT_TRUE(waitFor([&] { return enumerations > before && !hid->devices().isEmpty(); }));
    EXPECT_NE(hid->devices()[0].object, second);
    ASSERT_TRUE(identify().result);
    EXPECT_LT(read("BRIG", value), Status::FirstFailure);
}
} // namespace
