#include "core/params/ParamCodec.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

EditorValues loaded(const char *code, uint32_t value)
{
    EditorValues v;
    EXPECT_TRUE(unpackParam(tagIndex(code), value, v));
    return v;
}

uint32_t packed(const char *code, const EditorValues &v)
{
    const auto word = packParam(tagIndex(code), v);
    EXPECT_TRUE(word.has_value()) << code;
    return word.value_or(0);
}

// Every control at the largest value its range allows.
EditorValues valuesAtMaximum()
{
    EditorValues v;
    v.keyBootMs = 5000;
    v.keyMscMs = 4980;
    v.startupR = 255;
    v.startupG = 254;
    v.startupB = 253;
    v.startupTimeMs = 2550;
    v.comProto = 1;
    v.ledProto = 5;
    v.layout = 1;
    v.bright = 200;
    v.ledColors = {5, 4, 3, 2, 1, 0, 5, 4};
    v.stripeMirror = true;
    v.mirrorY = true;
    v.stripeCount = 2048;
    v.stripeChannels = 8;
    v.matrixX = 8;
    v.matrixY = 7;
    v.matrixLedX = 255;
    v.matrixLedY = 254;
    v.firstLed = 3;
    v.ledOrder = 2;
    v.ws2812 = {250, 200, 199};
    v.apa106 = {50, 20, 21};
    v.ws2821bw = 255;
    v.ws2801clk = 8;
    v.apa102clk = 7;
    v.lpd8803clk = 0;
    return v;
}

} // namespace

TEST(ParamCodecLoad, KeyTimesInStepsOf20ms)
{
    const EditorValues v = loaded("KTIM", 0x00000F19);
    EXPECT_EQ(v.keyBootMs, 500);
    EXPECT_EQ(v.keyMscMs, 300);
}

TEST(ParamCodecLoad, StartupLight)
{
    const EditorValues v = loaded("STUP", 0x32FF8000);
    EXPECT_EQ(v.startupR, 0);
    EXPECT_EQ(v.startupG, 128);
    EXPECT_EQ(v.startupB, 255);
    EXPECT_EQ(v.startupTimeMs, 500);
}

TEST(ParamCodecLoad, NarrowFieldsTakeOnlyTheirBits)
{
    EXPECT_EQ(loaded("BRIG", 0x1C8).bright, 200);
    EXPECT_EQ(loaded("3CFG", 0xABCD01BF).ws2821bw, 0xBF);
    EXPECT_EQ(loaded("4CFG", 0x108).ws2801clk, 8);
    EXPECT_EQ(loaded("MXOR", 0xFFFFFFFE).ledOrder, 2);
    EXPECT_EQ(loaded("MBEG", 0x33333333).firstLed, 3);

    const EditorValues s = loaded("SCFG", 0xAB01FFFF);
    EXPECT_EQ(s.stripeCount, 0xFFFF);
    EXPECT_EQ(s.stripeChannels, 1);
    const EditorValues m = loaded("MCHN", 0x01020304);
    EXPECT_EQ(m.matrixX, 4);
    EXPECT_EQ(m.matrixY, 2);
    const EditorValues n = loaded("MCNT", 0x00100110);
    EXPECT_EQ(n.matrixLedX, 0x10);
    EXPECT_EQ(n.matrixLedY, 0x10);

    const EditorValues t = loaded("2CFG", 0xFF1E2277);
    EXPECT_EQ(t.apa106, (PulseTiming{0x77, 0x22, 0x1E}));
}

TEST(ParamCodecLoad, WholeValueIndexesPassUnchecked)
{
    EXPECT_EQ(loaded("LPRO", 2).ledProto, 2);
    EXPECT_EQ(loaded("CPRO", 7).comProto, 7);
    // Beyond int the index comes out negative; a combo box takes either as
    // no selection.
    EXPECT_EQ(loaded("LAYO", 0xFFFFFFFF).layout, -1);
    EXPECT_EQ(loaded("LMAX", 4096).ledMaxCnt, 4096);
}

TEST(ParamCodecLoad, ColourOrdersFillTheirHalf)
{
    const EditorValues v0 = loaded("COL0", 0x05040302);
    EXPECT_EQ(v0.ledColors, (std::array<int, 8>{2, 3, 4, 5, 0, 0, 0, 0}));
    const EditorValues v1 = loaded("COL1", 0xFF000102);
    EXPECT_EQ(v1.ledColors, (std::array<int, 8>{0, 0, 0, 0, 2, 1, 0, 255}));
}

TEST(ParamCodecLoad, MirrorFlagOnlyWhenByteIsOne)
{
    const EditorValues all = loaded("MIRR", 0x00010101);
    EXPECT_TRUE(all.stripeMirror && all.mirrorX && all.mirrorY);
    const EditorValues some = loaded("MIRR", 0x01020301);
    EXPECT_TRUE(some.stripeMirror);
    EXPECT_FALSE(some.mirrorX);
    EXPECT_FALSE(some.mirrorY);
}

TEST(ParamCodecLoad, OtherFieldsStayAlone)
{
    EditorValues v = valuesAtMaximum();
    const EditorValues before = v;
    ASSERT_TRUE(unpackParam(tagIndex("BRIG"), 100, v));
    v.bright = before.bright;
    EXPECT_EQ(v, before);
    EXPECT_FALSE(unpackParam(-1, 1, v));
    EXPECT_FALSE(unpackParam(kParamTagCount, 1, v));
    EXPECT_EQ(v, before);
}

TEST(ParamCodecPack, HandlerFormulas)
{
    EditorValues v;
    v.keyBootMs = 510; // stored in 20 ms steps: 25
    v.keyMscMs = 300;
    EXPECT_EQ(packed("KTIM", v), 0x0F19u);

    v.startupG = 128;
    v.startupB = 255;
    v.startupTimeMs = 505;
    EXPECT_EQ(packed("STUP", v), 0x32FF8000u);

    v.stripeCount = 512;
    v.stripeChannels = 8;
    EXPECT_EQ(packed("SCFG", v), 0x00080200u);
    v.matrixX = 4;
    v.matrixY = 2;
    EXPECT_EQ(packed("MCHN", v), 0x00020004u);
    v.ws2812 = {119, 34, 58};
    EXPECT_EQ(packed("1CFG", v), 0x003A2277u);
    v.mirrorX = true;
    EXPECT_EQ(packed("MIRR", v), 0x100u);
    v.bright = 150;
    EXPECT_EQ(packed("BRIG", v), 150u);
}

TEST(ParamCodecPack, IndexInEveryNibble)
{
    EditorValues v;
    v.ledOrder = 1;
    EXPECT_EQ(packed("MXOR", v), 0x11111111u);
    v.firstLed = 3;
    EXPECT_EQ(packed("MBEG", v), 0x33333333u);
    v.firstLed = -1;
    EXPECT_EQ(packed("MBEG", v), 0xFFFFFFFFu);
}

TEST(ParamCodecPack, NoSelectionSetsAllBits)
{
    EditorValues v;
    v.comProto = -1;
    v.ws2801clk = -1;
    EXPECT_EQ(packed("CPRO", v), 0xFFFFFFFFu);
    EXPECT_EQ(packed("4CFG", v), 0xFFFFFFFFu);
    v.ledColors = {0, -1, 2, 3, 4, 5, -1, 1};
    EXPECT_EQ(packed("COL0", v), 0x0302FF00u);
    EXPECT_EQ(packed("COL1", v), 0x01FF0504u);
}

TEST(ParamCodecPack, CapacityIsNeverWritten)
{
    EditorValues v;
    v.ledMaxCnt = 4096;
    EXPECT_FALSE(packParam(tagIndex("LMAX"), v).has_value());
    EXPECT_FALSE(packParam(-1, v).has_value());
    EXPECT_FALSE(packParam(kParamTagCount, v).has_value());
}

TEST(ParamCodecPack, EveryValueInRangeSurvivesAReload)
{
    const EditorValues original = valuesAtMaximum();
    EditorValues reloaded;
    reloaded.ledMaxCnt = original.ledMaxCnt;
    for (int i = 0; i < kParamTagCount; ++i) {
        if (const auto word = packParam(i, original))
            unpackParam(i, *word, reloaded);
    }
    EXPECT_EQ(reloaded, original);
}

TEST(ParamCodecList, UnpackAndFind)
{
    const QList<TCfgData> params{{"LMAX", 2048}, {"BRIG", 80}, {"XXXX", 1}, {"KTIM", 0x0F19}};
    const EditorValues v = unpackParams(params);
    EXPECT_EQ(v.ledMaxCnt, 2048);
    EXPECT_EQ(v.bright, 80);
    EXPECT_EQ(v.keyMscMs, 300);
    EXPECT_EQ(findParam(params, "BRIG"), 80u);
    EXPECT_FALSE(findParam(params, "brig").has_value());
    EXPECT_FALSE(findParam({}, "BRIG").has_value());
}

TEST(ParamCodecRounding, NearestInt)
{
    EXPECT_EQ(nearestInt(509.6), 510);
    EXPECT_EQ(nearestInt(510.4), 510);
    EXPECT_EQ(nearestInt(2.5), 2);
    EXPECT_EQ(nearestInt(3.5), 4);
    EXPECT_EQ(nearestInt(std::nan("")), 0);
    EXPECT_EQ(nearestInt(1e20), std::numeric_limits<int>::max());
    EXPECT_EQ(nearestInt(-1e20), std::numeric_limits<int>::min());
}
