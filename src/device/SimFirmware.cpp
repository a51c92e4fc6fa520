#include "device/SimFirmware.h"

#include "core/protocol/DeviceCrypto.h"
#include "device/HidController.h"

#include <QHash>

#include <cstring>

namespace {
constexpr uint8_t kOk = 0x00;
constexpr uint8_t kUnknownCommand = 0xC0;
constexpr uint8_t kUnknownFunction = 0xC1;
constexpr uint8_t kWrongByteCount = 0xC2;
constexpr uint8_t kWrongCrypt = 0xC3;
constexpr uint8_t kIllegalValue = 0xC4;
constexpr uint8_t kFunctionRestart = 0x01;
constexpr uint8_t kFunctionDefaults = 0x46;
constexpr uint8_t kFunctionWrite = 0x01;
constexpr uint8_t kCmdPrepare = 0xEF;
constexpr auto kPrepareSettle = std::chrono::milliseconds(50);
constexpr auto kResetSettle = std::chrono::milliseconds(250);

uint32_t le32(const uint8_t *p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool bytesAtMost(uint32_t v, int bytes, uint32_t max)
{
    for (int i = 0; i < bytes; ++i) {
        if (((v >> (8 * i)) & 0xFF) > max)
            return false;
    }
    return true;
}

bool nibblesAtMost3(uint32_t v)
{
    return (v & ~0x33333333u) == 0;
}

bool halvesAtMost(uint32_t v, uint32_t lowMax, uint32_t highMax)
{
    return (v & 0xFFFF) <= lowMax && (v >> 16) <= highMax;
}

// What each field can hold; the firmware refuses anything else with 0x80C4.
bool fieldAccepts(const QByteArray &tag, uint32_t v)
{
    static const QHash<QByteArray, std::function<bool(uint32_t)>> rules = {
        {"KTIM", [](uint32_t x) { return x <= 0xFFFF; }},
        {"STUP", [](uint32_t) { return true; }},
        {"CPRO", [](uint32_t x) { return x <= 1; }},
        {"LPRO", [](uint32_t x) { return x <= 5; }},
        {"LAYO", [](uint32_t x) { return x <= 1; }},
        {"BRIG", [](uint32_t x) { return x <= 200; }},
        {"COL0", [](uint32_t x) { return bytesAtMost(x, 4, 5); }},
        {"COL1", [](uint32_t x) { return bytesAtMost(x, 4, 5); }},
        {"MIRR", [](uint32_t x) { return (x & ~0x00010101u) == 0; }},
        {"SCFG", [](uint32_t x) { return halvesAtMost(x, 0xFFFF, 8); }},
        {"MCHN", [](uint32_t x) { return halvesAtMost(x, 255, 255); }},
        {"MCNT", [](uint32_t x) { return halvesAtMost(x, 255, 255); }},
        {"MXOR", nibblesAtMost3},
        {"MBEG", nibblesAtMost3},
        {"1CFG", [](uint32_t x) { return x <= 0xFFFFFF; }},
        {"2CFG", [](uint32_t x) { return x <= 0xFFFFFF; }},
        {"3CFG", [](uint32_t x) { return x <= 255; }},
        {"4CFG", [](uint32_t x) { return x <= 7; }},
        {"5CFG", [](uint32_t x) { return x <= 7; }},
        {"6CFG", [](uint32_t x) { return x <= 7; }},
    };
    const auto it = rules.constFind(tag);
    return it != rules.constEnd() && (*it)(v);
}

QByteArray tagFromWord(uint32_t word)
{
    QByteArray tag(4, '\0');
    for (int i = 0; i < 4; ++i)
        tag[i] = char(word >> (8 * i));
    return tag;
}

void copyText(char (&dst)[16], const char *src)
{
    std::memset(dst, 0, sizeof dst);
    std::strncpy(dst, src, sizeof dst);
}
} // namespace

QList<SimParam> simFactoryParameters()
{
    return {
        {"LMAX", 4096},
        {"KTIM", 50 | 150 << 8},           // bootloader 1000 ms, PC disk 3000 ms
        {"STUP", 0x32202020},              // dim white for 500 ms
        {"CPRO", 0},                       // TPM2
        {"LPRO", 0},                       // WS2811/12
        {"LAYO", 0},                       // stripe
        {"BRIG", 100},
        {"COL0", 0x05050505},              // GRB on every channel
        {"COL1", 0x05050505},
        {"MIRR", 0},
        {"SCFG", 512 | 8 << 16},           // 512 LEDs on 8 channels
        {"MCHN", 2 | 2 << 16},             // 2 x 2 modules
        {"MCNT", 16 | 16 << 16},           // 16 x 16 LEDs per module
        {"MXOR", 0x11111111},              // snake lines
        {"MBEG", 0},                       // top-left
        {"1CFG", 119 | 44 << 8 | 77 << 16},  // 1.25 us period
        {"2CFG", 163 | 44 << 8 | 141 << 16}, // 1.71 us period
        {"3CFG", 191},                     // 4 us bit width
        {"4CFG", 2},
        {"5CFG", 1},
        {"6CFG", 3},
    };
}

SimControllerModel SimControllerModel::sane(int n)
{
    SimControllerModel s;
    s.serial = QStringLiteral("SIM%1").arg(n, 4, 10, QLatin1Char('0'));
    s.bios.SysId = 0x434F5256; // the same product family for every simulated unit
    s.bios.VersHi = 2;
    s.bios.VersLo = 3;
    s.bios.ToolVers = 11;
    s.bios.BiosType = 1;
    s.bios.FileSize = 0x0001F000;
    s.bios.FileChk = 0x5A5A;
    s.bios.FileCode = 0x4A2F;
    copyText(s.bios.Date, "2026-11-20");
    copyText(s.bios.ProgInfo, "CORVANE-8CH");
    for (int i = 0; i < 12; ++i)
        s.cpuInfo[size_t(i)] = uint8_t(0x10 * (i + 1) + n * 7);
    s.defaults = simFactoryParameters();
    return s;
}

SimFirmware::SimFirmware(SimControllerModel model)
    : m_model(std::move(model))
    , m_params(m_model.defaults)
{
}

bool SimFirmware::accepts(const QByteArray &tag, uint32_t value)
{
    return tag != "LMAX" && fieldAccepts(tag, value);
}

uint16_t SimFirmware::readWord() const
{
    return deriveCrypt(m_model.cpuInfo.data())[kCryptReadWord];
}

uint16_t SimFirmware::writeWord() const
{
    return deriveCrypt(m_model.cpuInfo.data())[kCryptWriteWord];
}

bool SimFirmware::setParam(const QByteArray &tag, uint32_t value)
{
    for (auto &p : m_params) {
        if (p.tag == tag) {
            p.value = value;
            return true;
        }
    }
    return false;
}

uint32_t SimFirmware::param(const QByteArray &tag) const
{
    for (const auto &p : m_params) {
        if (p.tag == tag)
            return p.value;
    }
    return 0;
}

bool SimFirmware::answers(const uint8_t *request, int len)
{
    return len == kReportSize && request[0] == kReportId;
}

bool SimFirmware::takes(const uint8_t *report, int len) const
{
    return answers(report, len) && now() >= m_settledAt;
}

SimFirmware::Report SimFirmware::reply(uint8_t cmd, uint8_t status, const uint8_t *data, int len) const
{
    Report r{};
    r[0] = status;
    r[1] = cmd;
    if (data && len > 0)
        std::memcpy(r.data() + 2, data, size_t(std::min(len, 62)));
    return r;
}

SimFirmware::Report SimFirmware::handle(const uint8_t *out)
{
    const uint8_t len = out[1];
    const uint8_t cmd = out[2];
    const uint8_t *payload = out + 3;

    switch (cmd) {
    case 0xE3: {
        if (len != 0)
            return reply(cmd, kWrongByteCount);
        uint8_t bios[TBiosInfo::kWireSize];
        m_model.bios.toBytes(bios);
        const int n = std::clamp(m_model.biosReplyLength, 0, TBiosInfo::kWireSize);
        return reply(cmd, uint8_t(n), bios, n);
    }
    case 0xE5:
        if (len != 0)
            return reply(cmd, kWrongByteCount);
        return reply(cmd, uint8_t(std::clamp(m_model.cpuReplyLength, 0, 12)), m_model.cpuInfo.data(),
                     std::clamp(m_model.cpuReplyLength, 0, 12));
    case 0xEC: {
        if (len != 6)
            return reply(cmd, kWrongByteCount);
        if ((payload[4] | payload[5] << 8) != readWord())
            return reply(cmd, kWrongCrypt);
        const QByteArray tag = tagFromWord(le32(payload));
        for (const auto &p : m_params) {
            if (p.tag == tag) {
                const uint8_t v[4] = {uint8_t(p.value), uint8_t(p.value >> 8), uint8_t(p.value >> 16),
                                      uint8_t(p.value >> 24)};
                return reply(cmd, 4, v, 4);
            }
        }
        return reply(cmd, kIllegalValue);
    }
    case 0xED:
        return handleWrite(cmd, payload);
    case 0xEE: {
        if (len != 4)
            return reply(cmd, kWrongByteCount);
        const uint32_t v = le32(payload);
        if (v != 32 && v != 0)
            return reply(cmd, kIllegalValue);
        m_testPattern = (v == 32);
        return reply(cmd, kOk);
    }
    case kCmdPrepare:
        // Prepares the controller for a function that follows; always accepted.
        m_settledAt = now() + kPrepareSettle;
        return reply(cmd, kOk);
    default:
        return reply(cmd, kUnknownCommand);
    }
}

SimFirmware::Report SimFirmware::handleWrite(uint8_t cmd, const uint8_t *payload)
{
    const uint8_t len = payload[-2];
    if (len != 11)
        return reply(cmd, kWrongByteCount);
    if ((payload[8] | payload[9] << 8) != writeWord())
        return reply(cmd, kWrongCrypt);
    const uint32_t tagWord = le32(payload);
    const uint32_t value = le32(payload + 4);
    const uint8_t function = payload[10];

    if (tagWord == 0 && value == 0) {
        if (function == kFunctionRestart) {
            m_settledAt = std::chrono::steady_clock::time_point::max();
            if (onRestart)
                onRestart();
            return reply(cmd, kOk);
        }
        if (function == kFunctionDefaults) {
            m_params = m_model.defaults;
            m_testPattern = false;
            m_settledAt = now() + kResetSettle;
            if (onParamsChanged)
                onParamsChanged();
            return reply(cmd, kOk);
        }
        return reply(cmd, kUnknownFunction);
    }
    if (function != kFunctionWrite)
        return reply(cmd, kUnknownFunction);
    const QByteArray tag = tagFromWord(tagWord);
    if (!accepts(tag, value) || !setParam(tag, value))
        return reply(cmd, kIllegalValue);
    if (onParamsChanged)
        onParamsChanged();
    return reply(cmd, kOk);
}
