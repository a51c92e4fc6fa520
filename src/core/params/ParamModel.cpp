#include "core/params/ParamModel.h"

#include <array>

namespace {

constexpr FieldItem kComProtocols[] = {{"tpm2", "TPM2"}, {"glediator", "GLEDIATOR"}};
constexpr FieldItem kLedProtocols[] = {
    {"ws2811", "WS2811/12"}, {"apa106", "APA106"}, {"ws2821", "WS2821 (DMX)"},
    {"ws2801", "WS2801"},    {"apa102", "APA102"}, {"lpd8803", "LPD8803/06"},
};
constexpr FieldItem kLayouts[] = {{"stripe", "STRIPE"}, {"matrix", "MATRIX"}};
constexpr FieldItem kColorOrders[] = {{"rgb", "RGB"}, {"rbg", "RBG"}, {"bgr", "BGR"},
                                      {"brg", "BRG"}, {"gbr", "GBR"}, {"grb", "GRB"}};
constexpr FieldItem kMirror[] = {{"off", ""}, {"on", ""}};
constexpr FieldItem kLedOrders[] = {{"linewise", "Linewise"}, {"snake_lines", "Snake lines"},
                                    {"columnwise", "Columnwise"}, {"snake_columns", "Snake columns"}};
constexpr FieldItem kFirstLeds[] = {{"top_left", "Top-Left"}, {"top_right", "Top-Right"},
                                    {"bottom_left", "Bottom-Left"}, {"bottom_right", "Bottom-Right"}};
constexpr FieldItem kBitClocks[] = {
    {"24mbit", "24 Mbit"},    {"12mbit", "12 Mbit"},     {"6mbit", "6 Mbit"},       {"3mbit", "3 Mbit"},
    {"1.5mbit", "1,5 Mbit"}, {"750kbit", "750 kbit"}, {"375kbit", "375 kbit"}, {"187.5kbit", "187,5 kbit"},
};

using F = FieldId;
using T = ParamTag;

constexpr ParamField colour(F id, const char *name, T tag, uint8_t shift)
{
    return {.id = id, .tag = tag, .name = name, .shift = shift, .loadBits = 8, .packBits = 8,
            .items = kColorOrders};
}
constexpr ParamField flag(F id, const char *name, uint8_t shift)
{
    return {.id = id, .tag = T::MIRR, .name = name, .shift = shift, .loadBits = 8,
            .rule = FieldRule::Flag, .items = kMirror};
}
constexpr ParamField byteAt(F id, const char *name, T tag, uint8_t shift, int64_t min, int64_t max)
{
    return {.id = id, .tag = tag, .name = name, .shift = shift, .loadBits = 8, .min = min, .max = max};
}
constexpr ParamField bitClock(F id, const char *name, T tag)
{
    return {.id = id, .tag = tag, .name = name, .loadBits = 8, .items = kBitClocks};
}

// In the tags' read order, each parameter's fields from its low bits up.
// The key times are kept in steps of 20 ms and the start-up length in steps
// of 10 ms. Where a device field is narrower than the controls once allowed
// (start-up length, WS2821 bit width, LEDs per module), the range stops at
// the field so that every value offered survives a save and a reload.
constexpr std::array<ParamField, kFieldCount> kFields{{
    {.id = F::Capacity, .tag = T::LMAX, .name = "capacity", .unit = "LEDs", .max = 0xFFFFFFFF, .readOnly = true},

    {.id = F::KeysBootloaderMs, .tag = T::KTIM, .name = "keys.bootloader_ms", .loadBits = 8, .scale = 20,
     .unit = "ms", .max = 5000, .step = 10},
    {.id = F::KeysPcDiskMs, .tag = T::KTIM, .name = "keys.pc_disk_ms", .shift = 8, .loadBits = 8, .scale = 20,
     .unit = "ms", .max = 5000, .step = 10},

    byteAt(F::StartupRed, "startup.red", T::STUP, 0, 0, 255),
    byteAt(F::StartupGreen, "startup.green", T::STUP, 8, 0, 255),
    byteAt(F::StartupBlue, "startup.blue", T::STUP, 16, 0, 255),
    {.id = F::StartupLengthMs, .tag = T::STUP, .name = "startup.length_ms", .shift = 24, .loadBits = 8,
     .scale = 10, .unit = "ms", .max = 2550, .step = 10},

    {.id = F::ComProtocol, .tag = T::CPRO, .name = "com.protocol", .items = kComProtocols},
    {.id = F::LedProtocol, .tag = T::LPRO, .name = "led.protocol", .items = kLedProtocols},
    {.id = F::LayoutType, .tag = T::LAYO, .name = "layout.type", .items = kLayouts},
    {.id = F::BrightnessPercent, .tag = T::BRIG, .name = "brightness_percent", .loadBits = 8, .unit = "%",
     .max = 200},

    colour(F::Channel1ColorOrder, "channel1.color_order", T::COL0, 0),
    colour(F::Channel2ColorOrder, "channel2.color_order", T::COL0, 8),
    colour(F::Channel3ColorOrder, "channel3.color_order", T::COL0, 16),
    colour(F::Channel4ColorOrder, "channel4.color_order", T::COL0, 24),
    colour(F::Channel5ColorOrder, "channel5.color_order", T::COL1, 0),
    colour(F::Channel6ColorOrder, "channel6.color_order", T::COL1, 8),
    colour(F::Channel7ColorOrder, "channel7.color_order", T::COL1, 16),
    colour(F::Channel8ColorOrder, "channel8.color_order", T::COL1, 24),

    flag(F::StripeMirror, "stripe.mirror", 0),
    flag(F::MatrixMirrorX, "matrix.mirror_x", 8),
    flag(F::MatrixMirrorY, "matrix.mirror_y", 16),

    {.id = F::StripeLedsPerChannel, .tag = T::SCFG, .name = "stripe.leds_per_channel", .loadBits = 16,
     .min = 1, .max = 2048, .limit = FieldLimit::LedsPerChannel},
    {.id = F::StripeChannels, .tag = T::SCFG, .name = "stripe.channels", .shift = 16, .loadBits = 8, .min = 1,
     .max = 8, .limit = FieldLimit::Channels},

    {.id = F::MatrixModulesX, .tag = T::MCHN, .name = "matrix.modules_x", .loadBits = 8, .min = 1, .max = 8,
     .limit = FieldLimit::Channels},
    {.id = F::MatrixModulesY, .tag = T::MCHN, .name = "matrix.modules_y", .shift = 16, .loadBits = 8, .min = 1,
     .max = 8, .limit = FieldLimit::Channels},
    {.id = F::MatrixModuleLedsX, .tag = T::MCNT, .name = "matrix.module_leds_x", .loadBits = 8, .min = 1, .max = 255},
    {.id = F::MatrixModuleLedsY, .tag = T::MCNT, .name = "matrix.module_leds_y", .shift = 16, .loadBits = 8,
     .min = 1, .max = 255},

    {.id = F::MatrixLedOrder, .tag = T::MXOR, .name = "matrix.led_order", .loadBits = 2,
     .rule = FieldRule::Repeated, .items = kLedOrders},
    {.id = F::MatrixFirstLed, .tag = T::MBEG, .name = "matrix.first_led", .loadBits = 2,
     .rule = FieldRule::Repeated, .items = kFirstLeds},

    byteAt(F::Ws2811Period, "ws2811.period", T::CFG1, 0, 50, 250),
    byteAt(F::Ws2811T0h, "ws2811.t0h", T::CFG1, 8, 20, 200),
    byteAt(F::Ws2811T1h, "ws2811.t1h", T::CFG1, 16, 20, 200),
    byteAt(F::Apa106Period, "apa106.period", T::CFG2, 0, 50, 250),
    byteAt(F::Apa106T0h, "apa106.t0h", T::CFG2, 8, 20, 200),
    byteAt(F::Apa106T1h, "apa106.t1h", T::CFG2, 16, 20, 200),
    {.id = F::Ws2821BitWidth, .tag = T::CFG3, .name = "ws2821.bit_width", .loadBits = 8, .max = 255},

    bitClock(F::Ws2801Clock, "ws2801.clock", T::CFG4),
    bitClock(F::Apa102Clock, "apa102.clock", T::CFG5),
    bitClock(F::Lpd8803Clock, "lpd8803.clock", T::CFG6),
}};

constexpr bool fieldsInIdAndTagOrder()
{
    for (std::size_t i = 0; i < kFields.size(); ++i) {
        if (fieldIndexOf(kFields[i].id) != int(i))
            return false;
        if (i > 0 && tagIndexOf(kFields[i].tag) < tagIndexOf(kFields[i - 1].tag))
            return false;
    }
    return true;
}
static_assert(fieldsInIdAndTagOrder(), "fields are listed in FieldId order, grouped by tag");

constexpr std::array<ParamRecord, kParamTagCount> makeRecords()
{
    std::array<ParamRecord, kParamTagCount> records{};
    std::size_t first = 0;
    for (int t = 0; t < kParamTagCount; ++t) {
        std::size_t end = first;
        while (end < kFields.size() && tagIndexOf(kFields[end].tag) == t)
            ++end;
        const auto tag = static_cast<ParamTag>(t);
        records[std::size_t(t)] = {tag, tagCode(tag), makeTagWord(tagCode(tag)),
                                   std::span<const ParamField>(kFields.data() + first, end - first)};
        first = end;
    }
    return records;
}
constexpr std::array<ParamRecord, kParamTagCount> kRecords = makeRecords();

} // namespace

std::span<const ParamField> paramFields()
{
    return kFields;
}

const ParamField &paramField(FieldId id)
{
    return kFields[std::size_t(fieldIndexOf(id))];
}

const ParamField *findField(QAnyStringView name)
{
    for (const ParamField &f : kFields) {
        if (QAnyStringView::compare(name, QLatin1String(f.name)) == 0)
            return &f;
    }
    return nullptr;
}

std::span<const ParamRecord> paramRecords()
{
    return kRecords;
}

const ParamRecord &paramRecord(ParamTag tag)
{
    return kRecords[std::size_t(tagIndexOf(tag))];
}
