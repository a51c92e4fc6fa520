#include "core/params/CfgData.h"
#include "core/params/ParamCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

FieldValues loaded(ParamTag tag, uint32_t word)
{
    FieldValues v{};
    loadParam(tag, word, v);
    return v;
}

uint32_t packed(ParamTag tag, const FieldValues &v)
{
    const auto word = packParam(tag, v);
    EXPECT_TRUE(word.has_value()) << tagCode(tag);
    return word.value_or(0);
}

// The loaded-as column: which bits of its word each field comes from, and
// the device step it counts in.
struct Expected {
    const char *name;
    int firstBit;
    int lastBit;
    int scale;
};
const Expected kExpected[] = {
    {"capacity", 0, 31, 1},
    {"keys.bootloader_ms", 0, 7, 20}, {"keys.pc_disk_ms", 8, 15, 20},
    {"startup.red", 0, 7, 1}, {"startup.green", 8, 15, 1}, {"startup.blue", 16, 23, 1},
    {"startup.length_ms", 24, 31, 10},
    {"com.protocol", 0, 31, 1}, {"led.protocol", 0, 31, 1}, {"layout.type", 0, 31, 1},
    {"brightness_percent", 0, 7, 1},
    {"channel1.color_order", 0, 7, 1}, {"channel2.color_order", 8, 15, 1},
    {"channel3.color_order", 16, 23, 1}, {"channel4.color_order", 24, 31, 1},
    {"channel5.color_order", 0, 7, 1}, {"channel6.color_order", 8, 15, 1},
    {"channel7.color_order", 16, 23, 1}, {"channel8.color_order", 24, 31, 1},
    {"stripe.mirror", 0, 7, 1}, {"matrix.mirror_x", 8, 15, 1}, {"matrix.mirror_y", 16, 23, 1},
    {"stripe.leds_per_channel", 0, 15, 1}, {"stripe.channels", 16, 23, 1},
    {"matrix.modules_x", 0, 7, 1}, {"matrix.modules_y", 16, 23, 1},
    {"matrix.module_leds_x", 0, 7, 1}, {"matrix.module_leds_y", 16, 23, 1},
    {"matrix.led_order", 0, 1, 1}, {"matrix.first_led", 0, 1, 1},
    {"ws2811.period", 0, 7, 1}, {"ws2811.t0h", 8, 15, 1}, {"ws2811.t1h", 16, 23, 1},
    {"apa106.period", 0, 7, 1}, {"apa106.t0h", 8, 15, 1}, {"apa106.t1h", 16, 23, 1},
    {"ws2821.bit_width", 0, 7, 1},
    {"ws2801.clock", 0, 7, 1}, {"apa102.clock", 0, 7, 1}, {"lpd8803.clock", 0, 7, 1},
};

} // namespace

TEST(FieldModel, NamesInModelOrderGroupedByTag)
{
    ASSERT_EQ(paramFields().size(), std::size(kExpected));
    for (std::size_t i = 0; i < std::size(kExpected); ++i) {
        EXPECT_STREQ(paramFields()[i].name, kExpected[i].name);
        EXPECT_EQ(findField(QLatin1String(kExpected[i].name)), &paramFields()[i]);
    }
    EXPECT_EQ(findField(u"Capacity"), nullptr);
    EXPECT_EQ(findField(u"stripe"), nullptr);
    // Every parameter has its fields; the records cover the tags in read order.
    for (int t = 0; t < kParamTagCount; ++t) {
        const ParamRecord &r = paramRecords()[std::size_t(t)];
        EXPECT_STREQ(r.code, kParamTagCodes[std::size_t(t)]);
        EXPECT_EQ(r.word, tagWord(r.code));
        EXPECT_FALSE(r.fields.empty()) << r.code;
    }
}

TEST(FieldModel, EveryFieldLoadsItsBitsOfAFullWord)
{
    for (const Expected &e : kExpected) {
        const ParamField &f = *findField(QLatin1String(e.name));
        const int64_t ones = (int64_t(1) << (e.lastBit - e.firstBit + 1)) - 1;
        // A flag is on only when its byte is exactly 1.
        const int64_t expected = f.rule == FieldRule::Flag ? 0 : ones * e.scale;
        EXPECT_EQ(loadField(f, 0xFFFFFFFF), expected) << e.name;
    }
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
    const FieldValues t = loaded(ParamTag::CFG2, 0xFF1E2277);
    EXPECT_EQ(at(t, FieldId::Apa106Period), 0x77);
    EXPECT_EQ(at(t, FieldId::Apa106T1h), 0x1E);
    EXPECT_EQ(at(loaded(ParamTag::MXOR, 0xFFFFFFFE), FieldId::MatrixLedOrder), 2);
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
    at(v, FieldId::MatrixMirrorX) = 1;
    EXPECT_EQ(packed(ParamTag::MIRR, v), 0x100u);
    at(v, FieldId::MatrixLedOrder) = 1;
    EXPECT_EQ(packed(ParamTag::MXOR, v), 0x11111111u);
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

TEST(FieldModelPack, EveryFieldAtItsLimitsSurvivesAReload)
{
    for (const bool top : {false, true}) {
        FieldValues original{};
        for (const ParamField &f : paramFields())
            at(original, f.id) = top ? f.max : f.min;
        FieldValues reloaded{};
        for (const ParamRecord &r : paramRecords()) {
            if (const auto word = packParam(r.tag, original))
                loadParam(r.tag, *word, reloaded);
        }
        at(reloaded, FieldId::Capacity) = at(original, FieldId::Capacity);
        EXPECT_EQ(reloaded, original) << (top ? "maxima" : "minima");
    }
}

TEST(FieldModelCheck, ValuesAtBothSidesOfTheirLimits)
{
    const ParamField &bright = paramField(FieldId::BrightnessPercent);
    EXPECT_TRUE(fieldValueProblem(bright, 200).isEmpty());
    EXPECT_EQ(fieldValueProblem(bright, 201), QStringLiteral("brightness_percent takes 0 to 200 %"));
    EXPECT_FALSE(fieldValueProblem(bright, -1).isEmpty());
    const ParamField &leds = paramField(FieldId::StripeLedsPerChannel);
    EXPECT_TRUE(fieldValueProblem(leds, 170, 2).isEmpty());
    EXPECT_EQ(fieldValueProblem(leds, 171, 2), QStringLiteral("stripe.leds_per_channel takes 1 to 170 with ws2821"));
    EXPECT_TRUE(fieldValueProblem(leds, 2048).isEmpty());
    EXPECT_TRUE(fieldValueProblem(paramField(FieldId::KeysPcDiskMs), 5000).isEmpty());
    EXPECT_TRUE(fieldValueProblem(paramField(FieldId::Ws2801Clock), 7).isEmpty());
    EXPECT_FALSE(fieldValueProblem(paramField(FieldId::Ws2801Clock), 8).isEmpty());
    EXPECT_FALSE(fieldValueProblem(paramField(FieldId::Capacity), 4096).isEmpty());
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
    EXPECT_EQ(tagWord("LMAXYZ"), tagWord("LMAX"));
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

TEST(ParamCodecRounding, NearestInt)
{
    EXPECT_EQ(nearestInt(509.6), 510);
    EXPECT_EQ(nearestInt(2.5), 2);
    EXPECT_EQ(nearestInt(std::nan("")), 0);
    EXPECT_EQ(nearestInt(1e20), std::numeric_limits<int>::max());
}
