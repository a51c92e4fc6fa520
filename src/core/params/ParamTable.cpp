#include "core/params/ParamTable.h"

#include <algorithm>

namespace {

constexpr ParamTagInfo tag(const char *code, std::array<const char *, 4> controls)
{
    return {code, makeTagWord(code), controls};
}

constexpr std::array<ParamTagInfo, kParamTagCount> kTags{{
    tag("LMAX", {"labCapacity"}),
    tag("KTIM", {"edKeyBoot", "edKeyMSC"}),
    tag("STUP", {"edStartupR", "edStartupG", "edStartupB", "edStartupTime"}),
    tag("CPRO", {"cbComProto"}),
    tag("LPRO", {"cbLedProto"}),
    tag("LAYO", {"cbLayout"}),
    tag("BRIG", {"edBright"}),
    tag("COL0", {"cbLedCol0", "cbLedCol1", "cbLedCol2", "cbLedCol3"}),
    tag("COL1", {"cbLedCol4", "cbLedCol5", "cbLedCol6", "cbLedCol7"}),
    tag("MIRR", {"chkStripeMirror", "chkMirrorX", "chkMirrorY"}),
    tag("SCFG", {"edStripeCount", "edStripeChannels"}),
    tag("MCHN", {"edMatrixX", "edMatrixY"}),
    tag("MCNT", {"edMatrixLedX", "edMatrixLedY"}),
    tag("MXOR", {"cbLedOrder"}),
    tag("MBEG", {"cbFirstLed"}),
    tag("1CFG", {"edWS2812per", "edWS2812t0h", "edWS2812t1h"}),
    tag("2CFG", {"edAPA106per", "edAPA106t0h", "edAPA106t1h"}),
    tag("3CFG", {"edWS2821bw"}),
    tag("4CFG", {"cbWS2801clk"}),
    tag("5CFG", {"cbAPA102clk"}),
    tag("6CFG", {"cbLPD8803clk"}),
}};
static_assert(kTags[0].word == 0x58414D4C, "LMAX travels as 4C 4D 41 58");

const char *const kLedProtocols[] = {"WS2811/12", "APA106", "WS2821 (DMX)", "WS2801", "APA102", "LPD8803/06"};
const char *const kComProtocols[] = {"TPM2", "GLEDIATOR"};
const char *const kLayouts[] = {"STRIPE", "MATRIX"};
const char *const kColorOrders[] = {"RGB", "RBG", "BGR", "BRG", "GBR", "GRB"};
const char *const kFirstLed[] = {"Top-Left", "Top-Right", "Bottom-Left", "Bottom-Right"};
const char *const kLedOrders[] = {"Linewise", "Snake lines", "Columnwise", "Snake columns"};
const char *const kBitClocks[] = {"24 Mbit", "12 Mbit", "6 Mbit", "3 Mbit", "1,5 Mbit",
                                  "750 kbit", "375 kbit", "187,5 kbit", ""};

struct ComboOwner {
    const char *name;
    ComboList list;
};
constexpr ComboOwner kComboOwners[] = {
    {"cbLedProto", ComboList::LedProtocol}, {"cbComProto", ComboList::ComProtocol},
    {"cbLayout", ComboList::Layout},        {"cbLedCol0", ComboList::ColorOrder},
    {"cbLedCol1", ComboList::ColorOrder},   {"cbLedCol2", ComboList::ColorOrder},
    {"cbLedCol3", ComboList::ColorOrder},   {"cbLedCol4", ComboList::ColorOrder},
    {"cbLedCol5", ComboList::ColorOrder},   {"cbLedCol6", ComboList::ColorOrder},
    {"cbLedCol7", ComboList::ColorOrder},   {"cbFirstLed", ComboList::FirstLed},
    {"cbLedOrder", ComboList::LedOrder},    {"cbWS2801clk", ComboList::BitClock},
    {"cbAPA102clk", ComboList::BitClock},   {"cbLPD8803clk", ComboList::BitClock},
};

// Stripe and matrix counts start at the limits of the first protocol; the
// editor narrows them per protocol (see ProtocolLimits). The start-up length
// holds 255 steps of 10 ms, the WS2821 bit width and the LEDs per module one
// byte each in the device, so these controls stop there.
constexpr ControlRange kRanges[] = {
    {"edBright", 0, 200, 1, "", " %"},
    {"edStartupR", 0, 255, 1, "", ""},
    {"edStartupG", 0, 255, 1, "", ""},
    {"edStartupB", 0, 255, 1, "", ""},
    {"edStartupTime", 0, 2550, 10, "", " ms"},
    {"edKeyMSC", 0, 5000, 10, "", " ms"},
    {"edKeyBoot", 0, 5000, 10, "", " ms"},
    {"edStripeCount", 1, 1024, 1, "", ""},
    {"edStripeChannels", 1, 8, 1, "", ""},
    {"edMatrixX", 1, 8, 1, "", ""},
    {"edMatrixY", 1, 8, 1, "", ""},
    {"edMatrixLedX", 1, 255, 1, "", ""},
    {"edMatrixLedY", 1, 255, 1, "", ""},
    {"edWS2812per", 50, 250, 1, "", ""},
    {"edWS2812t0h", 20, 200, 1, "", ""},
    {"edWS2812t1h", 20, 200, 1, "", ""},
    {"edAPA106per", 50, 250, 1, "", ""},
    {"edAPA106t0h", 20, 200, 1, "", ""},
    {"edAPA106t1h", 20, 200, 1, "", ""},
    {"edWS2821bw", 0, 255, 1, "", ""},
};

template <std::size_t N>
QStringList toList(const char *const (&items)[N])
{
    QStringList list;
    list.reserve(N);
    for (const char *item : items)
        list << QString::fromUtf8(item);
    return list;
}

} // namespace

std::span<const ParamTagInfo> paramTags()
{
    return kTags;
}

const ParamTagInfo &paramTag(ParamTag tag)
{
    return kTags[static_cast<std::size_t>(tag)];
}

int tagIndex(const QByteArray &code)
{
    for (std::size_t i = 0; i < kTags.size(); ++i) {
        if (code == kTags[i].code)
            return int(i);
    }
    return -1;
}

int tagIndex(const QString &code)
{
    // A character outside Latin-1 can never be part of a tag; toLatin1 would
    // turn it into '?', so rule it out first.
    for (QChar c : code) {
        if (c.unicode() > 0xFF)
            return -1;
    }
    return tagIndex(code.toLatin1());
}

int tagIndex(const char *code)
{
    return code ? tagIndex(QByteArray(code)) : -1;
}

uint32_t tagWord(const QByteArray &code)
{
    uint32_t word = 0;
    for (qsizetype i = 0; i < code.size() && i < 4; ++i)
        word |= uint32_t(uint8_t(code[i])) << (8 * i);
    return word;
}

uint32_t tagWord(const QString &code)
{
    return tagWord(code.left(4).toLatin1());
}

uint32_t tagWord(const char *code)
{
    return code ? makeTagWord(code) : 0;
}

QStringList tagControls(int index)
{
    QStringList names;
    if (index < 0 || index >= kParamTagCount)
        return names;
    for (const char *name : kTags[std::size_t(index)].controls) {
        if (name)
            names << QString::fromLatin1(name);
    }
    return names;
}

QStringList comboItems(ComboList list)
{
    switch (list) {
    case ComboList::LedProtocol: return toList(kLedProtocols);
    case ComboList::ComProtocol: return toList(kComProtocols);
    case ComboList::Layout: return toList(kLayouts);
    case ComboList::ColorOrder: return toList(kColorOrders);
    case ComboList::FirstLed: return toList(kFirstLed);
    case ComboList::LedOrder: return toList(kLedOrders);
    case ComboList::BitClock: return toList(kBitClocks);
    }
    return {};
}

bool comboListOf(const QString &controlName, ComboList *list)
{
    for (const ComboOwner &owner : kComboOwners) {
        if (controlName == QLatin1String(owner.name)) {
            if (list)
                *list = owner.list;
            return true;
        }
    }
    return false;
}

std::span<const ControlRange> controlRanges()
{
    return kRanges;
}

const ControlRange *controlRange(const QString &name)
{
    for (const ControlRange &range : kRanges) {
        if (name == QLatin1String(range.name))
            return &range;
    }
    return nullptr;
}

int clampToRange(const ControlRange &range, int value)
{
    return std::clamp(value, range.min, range.max);
}
