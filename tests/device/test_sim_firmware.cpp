#include "SimFixture.h"

#include "core/protocol/ParamTags.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {
using Report = SimFirmware::Report;
using namespace std::chrono_literals;

// A command report as a host frames it: report ID, length byte, command, payload.
Report command(std::initializer_list<uint8_t> commandAndPayload)
{
    Report r{};
    r[0] = kReportId;
    r[1] = uint8_t(commandAndPayload.size() - 1);
    std::copy(commandAndPayload.begin(), commandAndPayload.end(), r.begin() + 2);
    return r;
}

Report read(const char *tag, uint16_t word)
{
    const uint32_t t = tagWord(tag);
    return command({0xEC, uint8_t(t), uint8_t(t >> 8), uint8_t(t >> 16), uint8_t(t >> 24), uint8_t(word),
                    uint8_t(word >> 8)});
}

Report write(const char *tag, uint32_t value, uint16_t word, uint8_t function = 1)
{
    const uint32_t t = tagWord(tag);
    return command({0xED, uint8_t(t), uint8_t(t >> 8), uint8_t(t >> 16), uint8_t(t >> 24), uint8_t(value),
                    uint8_t(value >> 8), uint8_t(value >> 16), uint8_t(value >> 24), uint8_t(word),
                    uint8_t(word >> 8), function});
}

const SimFirmware kSane(SimControllerModel::sane(1));
const uint16_t kRead = kSane.readWord(), kWrite = kSane.writeWord();
} // namespace

// Each command's answer and effect; a refused command changes nothing.
TEST(SimFirmware, AnswersEachCommandAsTheControllerDoes)
{
    Report shortRead = read("LMAX", kRead);
    shortRead[1] = 5;
    Report longWrite = write("BRIG", 150, kWrite);
    longWrite[1] = 12;
    const struct {
        const char *what;
        Report report;
        uint8_t status;
        uint32_t brig = 100;
        bool pattern = false;
    } kCases[] = {
        {"firmware information", command({0xE3}), 48},
        {"firmware information with a payload", command({0xE3, 0}), 0xC2},
        {"CPU information", command({0xE5}), 12},
        {"CPU information with a payload", command({0xE5, 0}), 0xC2},
        {"read", read("LMAX", kRead), 4},
        {"read of 5 bytes", shortRead, 0xC2},
        {"read with the write word", read("LMAX", kWrite), 0xC3},
        {"read of an unknown tag", read("XXXX", kRead), 0xC4},
        {"write", write("BRIG", 150, kWrite), 0x00, 150},
        {"write of 12 bytes", longWrite, 0xC2},
        {"write with the read word", write("BRIG", 150, kRead), 0xC3},
        {"write of a value the field cannot hold", write("BRIG", 201, kWrite), 0xC4},
        {"write of the capacity", write("LMAX", 100, kWrite), 0xC4},
        {"write with function 2", write("BRIG", 150, kWrite, 2), 0xC1},
        {"function 7", write("", 0, kWrite, 7), 0xC1},
        {"test pattern", command({0xEE, 32, 0, 0, 0}), 0x00, 100, true},
        {"test pattern 31", command({0xEE, 31, 0, 0, 0}), 0xC4},
        {"test pattern of 3 bytes", command({0xEE, 32, 0, 0}), 0xC2},
        {"prepare", command({0xEF, 0, 0, 1}), 0x00},
        {"unknown command", command({0x42}), 0xC0},
    };
    for (const auto &c : kCases) {
        SimFirmware fw(SimControllerModel::sane(1));
        const Report reply = fw.handle(c.report.data());
        EXPECT_EQ(reply[0], c.status) << c.what;
        EXPECT_EQ(reply[1], c.report[2]) << c.what;
        EXPECT_EQ(fw.param("BRIG"), c.brig) << c.what;
        EXPECT_EQ(fw.testPattern(), c.pattern) << c.what;
    }
    SimFirmware fw(SimControllerModel::sane(1));
    const Report value = fw.handle(read("SCFG", kRead).data());
    EXPECT_EQ(value[2] | value[3] << 8 | value[4] << 16 | value[5] << 24, 512 | 8 << 16);
}

// The values each parameter can hold: the largest it takes and the values
// just beyond, in each of its fields (0 where there is no such value).
TEST(SimFirmware, AcceptsWhatEachFieldHolds)
{
    const struct {
        const char *tag;
        uint32_t largest, beyond, beyondHigh;
    } kCases[] = {
        {"KTIM", 0xFFFF, 0x10000, 0},         {"STUP", 0xFFFFFFFF, 0, 0},           {"CPRO", 1, 2, 0},
        {"LPRO", 5, 6, 0},                    {"LAYO", 1, 2, 0},                    {"BRIG", 200, 201, 0},
        {"COL0", 0x05050505, 6, 0x06000000},  {"COL1", 0x05050505, 6, 0x06000000},  {"MIRR", 0x10101, 2, 0x1000000},
        {"SCFG", 0x8FFFF, 0x90000, 0},        {"MCHN", 0xFF00FF, 0x100, 0x1000000}, {"MCNT", 0xFF00FF, 0x100, 0x1000000},
        {"MXOR", 0x33333333, 4, 0x40000000},  {"MBEG", 0x33333333, 4, 0x40000000},  {"1CFG", 0xFFFFFF, 0x1000000, 0},
        {"2CFG", 0xFFFFFF, 0x1000000, 0},     {"3CFG", 255, 256, 0},                {"4CFG", 7, 8, 0},
        {"5CFG", 7, 8, 0},                    {"6CFG", 7, 8, 0},
    };
    for (const auto &c : kCases) {
        EXPECT_TRUE(SimFirmware::accepts(c.tag, c.largest)) << c.tag;
        for (const uint32_t v : {c.beyond, c.beyondHigh})
            EXPECT_TRUE(v == 0 || !SimFirmware::accepts(c.tag, v)) << c.tag << " 0x" << std::hex << v;
    }
    EXPECT_FALSE(SimFirmware::accepts("LMAX", 0));
    EXPECT_FALSE(SimFirmware::accepts("XXXX", 0));
}

// The controller takes no command while it settles: after 0xEF, after a
// reset to defaults (which restores the factory values), and after a
// restart until it is powered up again.
TEST(SimFirmware, RefusesCommandsWhileItSettles)
{
    const struct {
        const char *what;
        Report before;
        std::chrono::milliseconds wait;
        bool taken;
        uint32_t brig; // after the write of 9 was taken or refused
    } kCases[] = {
        {"prepare, 49 ms", command({0xEF, 0, 0, 1}), 49ms, false, 7},
        {"prepare, 50 ms", command({0xEF, 0, 0, 1}), 50ms, true, 9},
        {"reset, 249 ms", write("", 0, kWrite, 0x46), 249ms, false, 100},
        {"reset, 250 ms", write("", 0, kWrite, 0x46), 250ms, true, 9},
        {"refused reset", write("", 0, kRead, 0x46), 0ms, true, 9},
        {"restart, 1 min", write("", 0, kWrite, 0x01), 60000ms, false, 7},
    };
    for (const auto &c : kCases) {
        SimFirmware fw(SimControllerModel::sane(1));
        std::chrono::steady_clock::time_point now{};
        fw.now = [&now] { return now; };
        fw.setParam("BRIG", 7);
        ASSERT_TRUE(fw.takes(c.before.data(), 64)) << c.what;
        fw.handle(c.before.data());
        now += c.wait;
        const Report next = write("BRIG", 9, kWrite);
        EXPECT_EQ(fw.takes(next.data(), 64), c.taken) << c.what;
        if (fw.takes(next.data(), 64))
            fw.handle(next.data());
        EXPECT_EQ(fw.param("BRIG"), c.brig) << c.what;
        fw.powerUp();
        EXPECT_TRUE(fw.takes(next.data(), 64)) << c.what;
    }
}

// A transfer must name report 3 in byte 0 and carry 64 bytes, a command
// and a request for its reply alike. A refused transfer fails and leaves
// the controller as it was: nothing written, no reply used up.
TEST(SimFirmware, TakesOnlyReport3Of64Bytes)
{
    const struct {
        uint8_t id;
        int len;
        bool taken;
    } kCases[] = {{0, 64, false}, {2, 64, false}, {3, 64, true}, {4, 64, false}, {3, 63, false}, {3, 65, false}};
    for (const auto &c : kCases) {
        SimBus bus;
        SimUnit *unit = bus.add(SimControllerModel::sane(1));
        unit->faults().notReadyPolls = 1;
        const HidDevicePtr device = unit->device();
        std::array<uint8_t, 65> report{};
        const Report brig = write("BRIG", 9, kWrite);
        std::copy(brig.begin(), brig.end(), report.begin());
        report[0] = c.id;
        EXPECT_EQ(device->SetFeature(report.data(), c.len), c.taken) << int(c.id) << '/' << c.len;
        EXPECT_EQ(unit->firmware().param("BRIG"), c.taken ? 9u : 100u) << int(c.id) << '/' << c.len;
        EXPECT_EQ(unit->received().size(), c.taken ? 1 : 0);

        ASSERT_TRUE(device->SetFeature(brig.data(), 64));
        report.fill(0);
        report[0] = c.id;
        EXPECT_EQ(device->GetFeature(report.data(), c.len), c.taken) << int(c.id) << '/' << c.len;
        report[0] = kReportId;
        ASSERT_TRUE(device->GetFeature(report.data(), 64));
        EXPECT_EQ(report[0], c.taken ? 0x00 : 0x40) << int(c.id) << '/' << c.len;
    }
}
