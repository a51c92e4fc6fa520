#include "SimFixture.h"

#include "device/DeviceFunctions.h"
#include "device/DeviceIdentity.h"

#include <gtest/gtest.h>

// What identifying a controller shows and keeps, by what the controller
// holds or how it fails. Before each run the record and the access words
// hold values of an earlier controller; the words come from this one only
// when its CPU information was read.
TEST(Identity, ShowsAndKeepsWhatEachControllerGives)
{
    using Model = std::function<void(SimControllerModel &)>;
    using Faults = std::function<void(SimFaults &)>;
    const Model sane = [](SimControllerModel &) {};
    const Faults none = [](SimFaults &) {};
    const QString kNoBios = QStringLiteral("<<< NO BIOS >>>");
    const struct {
        const char *what;
        Model model;
        Faults faults;
        bool result;
        QString error, version, code, info, config;
        uint16_t fileCode;
        bool newWords;
        int commands;
    } kCases[] = {
        {"healthy", [](SimControllerModel &m) { m.bios.FileCode = 0x0A2F; m.bios.VersLo = 5; }, none, true, "",
         "v2.5", "0A2F", "CORVANE-8CH", "v1.1", 0x0A2F, true, 2},
        {"another configuration version", [](SimControllerModel &m) { m.bios.ToolVers = 21; }, none, false,
         "Config Tool v2.1.x required", "v2.3", "4A2F", "CORVANE-8CH", "v2.1", 0x4A2F, false, 1},
        {"no firmware", [](SimControllerModel &m) { m.bios.FileCode = 0; }, none, false, "", "---", "---", kNoBios,
         "---", 0, true, 2},
        {"short firmware information", [](SimControllerModel &m) { m.biosReplyLength = 4; }, none, false, "", "---",
         "---", kNoBios, "---", 0, true, 2},
        {"firmware information refused", sane, [](SimFaults &f) { f.errorStatus = 0xC7; }, false,
         "Error Reading Biosinfo = 0x80C7 (Execution Failed)", "---", "---", "---", "---", 0x1111, false, 1},
        {"gone before the CPU information", sane, [](SimFaults &f) { f.unplugAfterTransfers = 2; }, true,
         "Error Reading Cpuinfo = 0xE000 (Communication Error)", "v2.3", "4A2F", "CORVANE-8CH", "v1.1", 0x4A2F,
         false, 1},
        {"short CPU information", [](SimControllerModel &m) { m.cpuReplyLength = 3; }, none, true,
         "Error Reading Cpuinfo = 0xB000 (Bad Data in Frame)", "v2.3", "4A2F", "CORVANE-8CH", "v1.1", 0x4A2F, false,
         2},
    };
    for (const auto &c : kCases) {
        SimTransport sim;
        SimControllerModel model = SimControllerModel::sane(1);
        c.model(model);
        SimUnit *unit = sim.bus.add(model);
        c.faults(unit->faults());
        sim.start();
        sim.hid->SetDevice(0);
        TBiosInfo bios;
        bios.SysId = 0x1234;
        bios.FileCode = 0x1111;
        const CryptWords earlier{1, 2, 3, 4, 5, 6, 7, 8};
        CryptWords crypt = earlier;
        DeviceReadouts readouts;
        const IdentifyResult r = identifyDevice(*sim.hid, bios, crypt, readouts);
        EXPECT_EQ(r.result, c.result) << c.what;
        EXPECT_EQ(r.error, c.error) << c.what;
        EXPECT_EQ(readouts.version, c.version) << c.what;
        EXPECT_EQ(readouts.code, c.code) << c.what;
        EXPECT_EQ(readouts.info, c.info) << c.what;
        EXPECT_EQ(readouts.config, c.config) << c.what;
        EXPECT_EQ(readouts.date, c.version == "---" ? "---" : "2026-11-20") << c.what;
        EXPECT_EQ(bios.FileCode, c.fileCode) << c.what;
        EXPECT_EQ(bios.SysId, c.fileCode == 0x1111 ? 0x1234 : model.bios.SysId) << c.what;
        EXPECT_EQ(crypt[kCryptWriteWord], c.newWords ? unit->firmware().writeWord() : earlier[kCryptWriteWord]);
        EXPECT_EQ(crypt[kCryptReadWord], c.newWords ? unit->firmware().readWord() : earlier[kCryptReadWord]);
        EXPECT_EQ(unit->received().size(), c.commands) << c.what;
    }
}

TEST(ParamIo, ReadsLittleEndianAndRejectsShortAnswers)
{
    SimTransport sim;
    SimUnit *unit = sim.bus.add(SimControllerModel::sane(1));
    sim.start();
    sim.hid->SetDevice(0);
    AnswerBuf buf{};
    uint32_t v = 0;
    unit->faults().script = {ReplyReport(4, 0xEC, QByteArray("\x78\x56\x34\x12", 4))};
    EXPECT_EQ(readParameter(*sim.hid, buf, "LMAX", 0, v), 4);
    EXPECT_EQ(v, 0x12345678u);
    unit->faults().script = {ReplyReport(2, 0xEC, QByteArray("\x01\x02", 2))};
    v = 7;
    EXPECT_EQ(readParameter(*sim.hid, buf, "LMAX", 0, v), Status::BadFrame);
    EXPECT_EQ(v, 7u);
    unit->faults().script = {ReplyReport(0, 0xEC)};
    EXPECT_EQ(readParameter(*sim.hid, buf, "LMAX", 0, v), Status::Ok); // "OK" without data fails for a read
    const uint8_t expected[] = {0x03, 0x06, 0xEC, 0x4C, 0x4D, 0x41, 0x58, 0x34, 0x12};
    readParameter(*sim.hid, buf, "LMAX", 0x1234, v);
    EXPECT_EQ(unit->received().last().left(9), QByteArray(reinterpret_cast<const char *>(expected), 9));
}

TEST(DeviceFunctionsWire, ReportsAsTheControllerExpects)
{
    SimTransport sim;
    SimUnit *unit = sim.bus.add(SimControllerModel::sane(1));
    unit->restartDelayMs = 20;
    sim.start();
    sim.hid->SetDevice(0);
    AnswerBuf buf{};
    const uint16_t w = unit->firmware().writeWord();
    auto hex = [](const QByteArray &b, int n) { return b.left(n).toHex(' ').toUpper(); };

    EXPECT_EQ(activateTestPattern(*sim.hid, buf), Status::Ok);
    EXPECT_EQ(hex(unit->received().last(), 7), "03 04 EE 20 00 00 00");

    unit->clearReceived();
    EXPECT_EQ(resetToDefaults(*sim.hid, buf, w), Status::Ok);
    ASSERT_EQ(unit->received().size(), 2);
    EXPECT_EQ(hex(unit->received()[0], 6), "03 03 EF 00 00 01");
    const QByteArray second = unit->received()[1];
    EXPECT_EQ(hex(second, 11), "03 0B ED 00 00 00 00 00 00 00 00");
    EXPECT_EQ(uint8_t(second[11]), w & 0xFF);
    EXPECT_EQ(uint8_t(second[12]), w >> 8);
    EXPECT_EQ(uint8_t(second[13]), 0x46);

    // Past the reset's settle wait, without waiting it out.
    unit->firmware().now = [] { return std::chrono::steady_clock::now() + std::chrono::milliseconds(kResetSettleMs); };
    EXPECT_EQ(restartDevice(*sim.hid, buf, w ^ 0x0101), Status::WrongCryptCode);
    EXPECT_EQ(restartDevice(*sim.hid, buf, w), Status::Ok);
    EXPECT_EQ(uint8_t(unit->received().last()[13]), 0x01);
}
