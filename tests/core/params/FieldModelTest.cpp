#include "core/params/CfgData.h"
#include "core/params/ParamCodec.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <span>

namespace {

uint32_t packed(ParamTag tag, const FieldValues &v)
{
    const auto word = packParam(tag, v);
    EXPECT_TRUE(word.has_value()) << tagCode(tag);
    return word.value_or(0);
}

// Every field as the controller defines it, typed from its documentation
// rather than from the model: its parameter, the bits it is loaded from, the
// device step it counts in, and the values it takes with no LED protocol
// known (the editor's ranges, stopped where the device's field is narrower).
// The capacity takes nothing: it is the controller's own.
struct Expected {
    const char *name;
    const char *tag;
    int firstBit;
    int lastBit;
    int scale;
    int64_t min;
    int64_t max;
};
const Expected kExpected[] = {
    {"capacity", "LMAX", 0, 31, 1, 0, -1},
    {"keys.bootloader_ms", "KTIM", 0, 7, 20, 0, 5000}, {"keys.pc_disk_ms", "KTIM", 8, 15, 20, 0, 5000},
    {"startup.red", "STUP", 0, 7, 1, 0, 255}, {"startup.green", "STUP", 8, 15, 1, 0, 255},
    {"startup.blue", "STUP", 16, 23, 1, 0, 255}, {"startup.length_ms", "STUP", 24, 31, 10, 0, 2550},
    {"com.protocol", "CPRO", 0, 31, 1, 0, 1}, {"led.protocol", "LPRO", 0, 31, 1, 0, 5},
    {"layout.type", "LAYO", 0, 31, 1, 0, 1}, {"brightness_percent", "BRIG", 0, 7, 1, 0, 200},
    {"channel1.color_order", "COL0", 0, 7, 1, 0, 5}, {"channel2.color_order", "COL0", 8, 15, 1, 0, 5},
    {"channel3.color_order", "COL0", 16, 23, 1, 0, 5}, {"channel4.color_order", "COL0", 24, 31, 1, 0, 5},
    {"channel5.color_order", "COL1", 0, 7, 1, 0, 5}, {"channel6.color_order", "COL1", 8, 15, 1, 0, 5},
    {"channel7.color_order", "COL1", 16, 23, 1, 0, 5}, {"channel8.color_order", "COL1", 24, 31, 1, 0, 5},
    {"stripe.mirror", "MIRR", 0, 7, 1, 0, 1}, {"matrix.mirror_x", "MIRR", 8, 15, 1, 0, 1},
    {"matrix.mirror_y", "MIRR", 16, 23, 1, 0, 1},
    {"stripe.leds_per_channel", "SCFG", 0, 15, 1, 1, 2048}, {"stripe.channels", "SCFG", 16, 23, 1, 1, 8},
    {"matrix.modules_x", "MCHN", 0, 7, 1, 1, 8}, {"matrix.modules_y", "MCHN", 16, 23, 1, 1, 8},
    {"matrix.module_leds_x", "MCNT", 0, 7, 1, 1, 255}, {"matrix.module_leds_y", "MCNT", 16, 23, 1, 1, 255},
    {"matrix.led_order", "MXOR", 0, 1, 1, 0, 3}, {"matrix.first_led", "MBEG", 0, 1, 1, 0, 3},
    {"ws2811.period", "1CFG", 0, 7, 1, 50, 250}, {"ws2811.t0h", "1CFG", 8, 15, 1, 20, 200},
    {"ws2811.t1h", "1CFG", 16, 23, 1, 20, 200},
    {"apa106.period", "2CFG", 0, 7, 1, 50, 250}, {"apa106.t0h", "2CFG", 8, 15, 1, 20, 200},
    {"apa106.t1h", "2CFG", 16, 23, 1, 20, 200},
    {"ws2821.bit_width", "3CFG", 0, 7, 1, 0, 255},
    {"ws2801.clock", "4CFG", 0, 7, 1, 0, 7}, {"apa102.clock", "5CFG", 0, 7, 1, 0, 7},
    {"lpd8803.clock", "6CFG", 0, 7, 1, 0, 7},
};

// The items of every list in index order, index = the code written, and
// what one step of the index adds to the parameter word.
constexpr FieldItem kComProtocols[] = {{"tpm2", "TPM2"}, {"glediator", "GLEDIATOR"}};
constexpr FieldItem kLedProtocols[] = {{"ws2811", "WS2811/12"}, {"apa106", "APA106"},
                                       {"ws2821", "WS2821 (DMX)"}, {"ws2801", "WS2801"},
                                       {"apa102", "APA102"}, {"lpd8803", "LPD8803/06"}};
constexpr FieldItem kLayouts[] = {{"stripe", "STRIPE"}, {"matrix", "MATRIX"}};
constexpr FieldItem kColourOrders[] = {{"rgb", "RGB"}, {"rbg", "RBG"}, {"bgr", "BGR"},
                                       {"brg", "BRG"}, {"gbr", "GBR"}, {"grb", "GRB"}};
constexpr FieldItem kOnOff[] = {{"off", ""}, {"on", ""}};
constexpr FieldItem kLedOrders[] = {{"linewise", "Linewise"}, {"snake_lines", "Snake lines"},
                                    {"columnwise", "Columnwise"}, {"snake_columns", "Snake columns"}};
constexpr FieldItem kFirstLeds[] = {{"top_left", "Top-Left"}, {"top_right", "Top-Right"},
                                    {"bottom_left", "Bottom-Left"}, {"bottom_right", "Bottom-Right"}};
constexpr FieldItem kBitClocks[] = {{"24mbit", "24 Mbit"}, {"12mbit", "12 Mbit"}, {"6mbit", "6 Mbit"},
                                    {"3mbit", "3 Mbit"}, {"1.5mbit", "1,5 Mbit"}, {"750kbit", "750 kbit"},
                                    {"375kbit", "375 kbit"}, {"187.5kbit", "187,5 kbit"}};
struct ExpectedList {
    const char *name;
    std::span<const FieldItem> items;
    uint32_t step;
};
const ExpectedList kLists[] = {
    {"com.protocol", kComProtocols, 1}, {"led.protocol", kLedProtocols, 1}, {"layout.type", kLayouts, 1},
    {"channel1.color_order", kColourOrders, 1}, {"channel2.color_order", kColourOrders, 0x100},
    {"channel3.color_order", kColourOrders, 0x10000}, {"channel4.color_order", kColourOrders, 0x1000000},
    {"channel5.color_order", kColourOrders, 1}, {"channel6.color_order", kColourOrders, 0x100},
    {"channel7.color_order", kColourOrders, 0x10000}, {"channel8.color_order", kColourOrders, 0x1000000},
    {"stripe.mirror", kOnOff, 1}, {"matrix.mirror_x", kOnOff, 0x100}, {"matrix.mirror_y", kOnOff, 0x10000},
    {"matrix.led_order", kLedOrders, 0x11111111}, {"matrix.first_led", kFirstLeds, 0x11111111},
    {"ws2801.clock", kBitClocks, 1}, {"apa102.clock", kBitClocks, 1}, {"lpd8803.clock", kBitClocks, 1},
};

} // namespace

TEST(FieldModel, NamesAndParametersInReadOrder)
{
    ASSERT_EQ(paramFields().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        EXPECT_STREQ(paramFields()[i].name, kExpected[i].name);
        EXPECT_STREQ(paramRecord(paramFields()[i].tag).code, kExpected[i].tag) << kExpected[i].name;
        EXPECT_EQ(findField(QLatin1String(kExpected[i].name)), &paramFields()[i]);
    }
    EXPECT_EQ(findField(u"Capacity"), nullptr);
    EXPECT_EQ(findField(u"stripe"), nullptr);
}

// Both sides of every range; a value taken is also written and read back
// unchanged.
TEST(FieldModel, EveryFieldTakesItsRangeAndNothingBeyond)
{
    for (const Expected &e : kExpected) {
        const ParamField &f = *findField(QLatin1String(e.name));
        for (const int64_t value : {e.min - 1, e.min, e.max, e.max + 1}) {
            const bool takes = value >= e.min && value <= e.max;
            EXPECT_EQ(fieldValueProblem(f, value).isEmpty(), takes) << e.name << '=' << value;
            if (!takes)
                continue;
            FieldValues original{}, reloaded{};
            at(original, f.id) = value;
            loadParam(f.tag, packParam(f.tag, original).value_or(0), reloaded);
            EXPECT_EQ(at(reloaded, f.id), value) << e.name;
        }
    }
    EXPECT_EQ(fieldValueProblem(paramField(FieldId::BrightnessPercent), 201),
              QStringLiteral("brightness_percent takes 0 to 200 %"));
    EXPECT_EQ(fieldValueProblem(paramField(FieldId::Capacity), 4096),
              QStringLiteral("capacity is the controller's own and cannot be set"));
}

TEST(FieldModel, EveryListHasItsItemsInOrderAndWritesTheirIndex)
{
    const auto lists = std::count_if(paramFields().begin(), paramFields().end(),
                                     [](const ParamField &f) { return f.isList(); });
    ASSERT_EQ(lists, std::ssize(kLists));
    for (const ExpectedList &l : kLists) {
        const ParamField &f = *findField(QLatin1String(l.name));
        ASSERT_EQ(f.items.size(), l.items.size()) << l.name;
        for (std::size_t i = 0; i < l.items.size(); ++i) {
            EXPECT_STREQ(f.items[i].token, l.items[i].token) << l.name << ' ' << i;
            EXPECT_STREQ(f.items[i].text, l.items[i].text) << l.name << ' ' << i;
            FieldValues v{};
            at(v, f.id) = int64_t(i);
            EXPECT_EQ(packParam(f.tag, v), uint32_t(i) * l.step) << l.name << ' ' << i;
        }
    }
    EXPECT_EQ(fieldValueProblem(paramField(FieldId::ComProtocol), 2),
              QStringLiteral("com.protocol takes one of: tpm2 glediator"));
}

TEST(FieldModel, EverySingleBitReachesOnlyItsField)
{
    for (const Expected &e : kExpected) {
        const ParamField &f = *findField(QLatin1String(e.name));
        for (int bit = 0; bit < 32; ++bit) {
            const bool inside = bit >= e.firstBit && bit <= e.lastBit;
            const int64_t expected = !inside ? 0
                : f.rule == FieldRule::Flag ? (bit == e.firstBit ? 1 : 0)
                                            : (int64_t(1) << (bit - e.firstBit)) * e.scale;
            EXPECT_EQ(loadField(f, uint32_t(1) << bit), expected) << e.name << " bit " << bit;
        }
    }
}

TEST(FieldModel, LoadingLeavesOtherParametersAlone)
{
    FieldValues v{};
    v.fill(7);
    loadParam(ParamTag::BRIG, 100, v);
    EXPECT_EQ(at(v, FieldId::BrightnessPercent), 100);
    EXPECT_EQ(at(v, FieldId::StartupRed), 7);
    EXPECT_EQ(at(v, FieldId::Capacity), 7);
}

TEST(FieldModelPack, HandlerFormulas)
{
    FieldValues v{};
    at(v, FieldId::KeysBootloaderMs) = 510; // kept in 20 ms steps: 25
    at(v, FieldId::KeysPcDiskMs) = 300;
    EXPECT_EQ(packed(ParamTag::KTIM, v), 0x0F19u);
    at(v, FieldId::StartupGreen) = 128;
    at(v, FieldId::StartupBlue) = 255;
    at(v, FieldId::StartupLengthMs) = 505;
    EXPECT_EQ(packed(ParamTag::STUP, v), 0x32FF8000u);
    at(v, FieldId::StripeLedsPerChannel) = 512;
    at(v, FieldId::StripeChannels) = 8;
    EXPECT_EQ(packed(ParamTag::SCFG, v), 0x00080200u);
    // No selection (-1) sets every bit of a whole-word or repeated field,
    // and the whole byte of a colour order.
    at(v, FieldId::ComProtocol) = -1;
    at(v, FieldId::MatrixFirstLed) = -1;
    at(v, FieldId::Channel2ColorOrder) = -1;
    at(v, FieldId::Channel3ColorOrder) = 2;
    EXPECT_EQ(packed(ParamTag::CPRO, v), 0xFFFFFFFFu);
    EXPECT_EQ(packed(ParamTag::MBEG, v), 0xFFFFFFFFu);
    EXPECT_EQ(packed(ParamTag::COL0, v), 0x0002FF00u);
    // The capacity is the controller's own.
    EXPECT_FALSE(packParam(ParamTag::LMAX, v).has_value());
}

TEST(FieldModelCheck, RawWordsMustFitTheirFields)
{
    EXPECT_TRUE(wordProblem(ParamTag::SCFG, 0x00080200).isEmpty());
    EXPECT_FALSE(wordProblem(ParamTag::SCFG, 0x01080200).isEmpty()); // bit 24 is in no field
    EXPECT_FALSE(wordProblem(ParamTag::SCFG, 0x00090200).isEmpty()); // nine channels
    EXPECT_TRUE(wordProblem(ParamTag::MIRR, 0x00010001).isEmpty());
    EXPECT_FALSE(wordProblem(ParamTag::MIRR, 0x00000002).isEmpty()); // a flag byte of 2
    EXPECT_TRUE(wordProblem(ParamTag::MXOR, 0x33333333).isEmpty());
    EXPECT_FALSE(wordProblem(ParamTag::MXOR, 0x33333332).isEmpty()); // fields disagree
    EXPECT_TRUE(wordProblem(ParamTag::BRIG, 200).isEmpty());
    EXPECT_FALSE(wordProblem(ParamTag::BRIG, 0x100).isEmpty());
}

TEST(ParamTags, WordsAndExactLookup)
{
    EXPECT_EQ(tagWord("LMAX"), 0x58414D4Cu);
    EXPECT_EQ(tagWord(QStringLiteral("1CFG")), 0x47464331u);
    EXPECT_EQ(tagWord(QByteArray("LMAXYZ")), tagWord("LMAX"));
    EXPECT_EQ(tagWord("AB"), 0x4241u);
    EXPECT_EQ(tagIndex("MXOR"), 13);
    EXPECT_EQ(tagIndex("lmax"), -1);
    EXPECT_EQ(tagIndex("LMAXX"), -1);
    EXPECT_EQ(tagIndex(QString::fromUtf8("LMA\u0158")), -1);
    EXPECT_EQ(TCfgData("LMAXX", 5).Code, QByteArray("LMAX"));
}

TEST(ParamCodecList, LoadAndFind)
{
    const QList<TCfgData> params{{"LMAX", 2048}, {"BRIG", 80}, {"XXXX", 1}, {"KTIM", 0x0F19}};
    const FieldValues v = loadParams(params);
    EXPECT_EQ(at(v, FieldId::Capacity), 2048);
    EXPECT_EQ(at(v, FieldId::KeysPcDiskMs), 300);
    EXPECT_EQ(findParam(params, "BRIG"), 80u);
    EXPECT_FALSE(findParam(params, "brig").has_value());
}
