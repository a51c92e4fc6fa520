#include "core/params/CfgData.h"
#include "core/params/ParamTable.h"

#include <gtest/gtest.h>

TEST(ParamTable, TagsInReadOrder)
{
    const char *expected[] = {"LMAX", "KTIM", "STUP", "CPRO", "LPRO", "LAYO", "BRIG",
                              "COL0", "COL1", "MIRR", "SCFG", "MCHN", "MCNT", "MXOR",
                              "MBEG", "1CFG", "2CFG", "3CFG", "4CFG", "5CFG", "6CFG"};
    ASSERT_EQ(paramTags().size(), std::size(expected));
    for (int i = 0; i < kParamTagCount; ++i) {
        EXPECT_STREQ(paramTags()[std::size_t(i)].code, expected[i]);
        EXPECT_EQ(tagIndex(expected[i]), i);
    }
}

TEST(ParamTable, TagWordHasFirstCharacterInLowByte)
{
    EXPECT_EQ(tagWord("LMAX"), 0x58414D4Cu);
    EXPECT_EQ(tagWord(QByteArray("BRIG")), 0x47495242u);
    EXPECT_EQ(tagWord(QStringLiteral("1CFG")), 0x47464331u);
    EXPECT_EQ(paramTag(ParamTag::CFG6).word, tagWord("6CFG"));
    // Only the first four characters count; missing ones are zero.
    EXPECT_EQ(tagWord("LMAXYZ"), tagWord("LMAX"));
    EXPECT_EQ(tagWord("AB"), 0x4241u);
    EXPECT_EQ(tagWord(""), 0u);
}

TEST(ParamTable, TagLookupIsExactAndCaseSensitive)
{
    EXPECT_EQ(tagIndex("lmax"), -1);
    EXPECT_EQ(tagIndex("LMAXX"), -1);
    EXPECT_EQ(tagIndex("LMA"), -1);
    EXPECT_EQ(tagIndex(""), -1);
    EXPECT_EQ(tagIndex(QStringLiteral("MXOR")), 13);
    EXPECT_EQ(tagIndex(QString::fromUtf8("LMA\u0158")), -1);
}

TEST(ParamTable, ControlsPerTag)
{
    EXPECT_EQ(tagControls(tagIndex("KTIM")), (QStringList{"edKeyBoot", "edKeyMSC"}));
    EXPECT_EQ(tagControls(tagIndex("COL1")),
              (QStringList{"cbLedCol4", "cbLedCol5", "cbLedCol6", "cbLedCol7"}));
    EXPECT_EQ(tagControls(tagIndex("MIRR")).size(), 3);
    EXPECT_TRUE(tagControls(-1).isEmpty());
    EXPECT_TRUE(tagControls(kParamTagCount).isEmpty());
}

TEST(CfgData, CodeIsCutToFourCharacters)
{
    const TCfgData d("LMAXX", 5);
    EXPECT_EQ(d.Code, QByteArray("LMAX"));
    EXPECT_EQ(d.Value, 5u);
    EXPECT_EQ(TCfgData("AB", 0).Code, QByteArray("AB"));
}

TEST(ComboLists, BitClocksEndWithAnEmptyItem)
{
    const QStringList clocks = comboItems(ComboList::BitClock);
    ASSERT_EQ(clocks.size(), 9);
    EXPECT_EQ(clocks[4], QStringLiteral("1,5 Mbit"));
    EXPECT_TRUE(clocks[8].isEmpty());
    EXPECT_EQ(comboItems(ComboList::LedProtocol).size(), 6);
}

TEST(ComboLists, ListByControlName)
{
    ComboList list = ComboList::Layout;
    ASSERT_TRUE(comboListOf(QStringLiteral("cbLedCol7"), &list));
    EXPECT_EQ(list, ComboList::ColorOrder);
    ASSERT_TRUE(comboListOf(QStringLiteral("cbLPD8803clk"), &list));
    EXPECT_EQ(list, ComboList::BitClock);
    EXPECT_FALSE(comboListOf(QStringLiteral("cbLedCol8"), &list));
    EXPECT_FALSE(comboListOf(QStringLiteral("edBright"), nullptr));
}

TEST(ControlRanges, FieldWidthsBoundTheControls)
{
    // Every range must survive a pack and reload, so the widest value of
    // each control must fit the field the device keeps.
    const ControlRange *time = controlRange(QStringLiteral("edStartupTime"));
    ASSERT_NE(time, nullptr);
    EXPECT_EQ(time->max / 10, 255);
    EXPECT_EQ(time->step, 10);
    EXPECT_EQ(controlRange(QStringLiteral("edWS2821bw"))->max, 255);
    EXPECT_EQ(controlRange(QStringLiteral("edMatrixLedX"))->max, 255);
    EXPECT_EQ(controlRange(QStringLiteral("edMatrixLedY"))->min, 1);
    EXPECT_EQ(controlRange(QStringLiteral("edKeyBoot"))->max / 20, 250);
    EXPECT_EQ(controlRange(QStringLiteral("edKeyMSC"))->step, 10);
    EXPECT_STREQ(controlRange(QStringLiteral("edBright"))->suffix, " %");
    EXPECT_EQ(controlRange(QStringLiteral("cbLayout")), nullptr);
}

TEST(ControlRanges, ClampShowsOutOfRangeDeviceValues)
{
    // BRIG = 250 is shown as 200.
    EXPECT_EQ(clampToRange(*controlRange(QStringLiteral("edBright")), 250), 200);
    EXPECT_EQ(clampToRange(*controlRange(QStringLiteral("edWS2812per")), 10), 50);
    EXPECT_EQ(clampToRange(*controlRange(QStringLiteral("edWS2812t1h")), 120), 120);
}
