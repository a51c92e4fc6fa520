#include "ui/dialogs/DebugDump.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

QString filler(int n)
{
    return QString(" ..").repeated(n);
}

std::vector<uint8_t> counting(int n)
{
    std::vector<uint8_t> v(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        v[size_t(i)] = uint8_t(i);
    return v;
}

} // namespace

TEST(DumpRows, ThreeBytesMakeOneFilledUpRow)
{
    const uint8_t data[] = {0x41, 0x42, 0x0A};
    EXPECT_EQ(dumpRows(data, 3), QStringList({"0000:  41 42 0A" + filler(13) + "  AB."}));
}

TEST(DumpRows, NoBytesNoRows)
{
    const uint8_t data[] = {1};
    EXPECT_TRUE(dumpRows(data, 0).isEmpty());
    EXPECT_TRUE(dumpRows(data, -1).isEmpty());
    EXPECT_TRUE(dumpRows(nullptr, 5).isEmpty());
}

TEST(DumpRows, SixteenBytesFillExactlyOneRow)
{
    const std::vector<uint8_t> data(16, 0x61);
    const QStringList rows = dumpRows(data.data(), 16);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_FALSE(rows[0].contains(".."));
    EXPECT_EQ(rows[0], "0000: " + QString(" 61").repeated(16) + "  " + QString(16, 'a'));
}

TEST(DumpRows, TheSeventeenthByteStartsASecondRow)
{
    std::vector<uint8_t> data(17, 0x30);
    data[16] = 0x5A;
    const QStringList rows = dumpRows(data.data(), 17);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[1], "0010:  5A" + filler(15) + "  Z");
}

TEST(DumpRows, TextColumnShowsBlankToRightBrace)
{
    const uint8_t data[] = {0x1F, 0x20, 0x7D, 0x7E, 0x7F, 0x80, 0xFF};
    const QStringList rows = dumpRows(data, 7);
    ASSERT_EQ(rows.size(), 1);
    EXPECT_TRUE(rows[0].endsWith("  . }...."));
}

TEST(DumpRows, OffsetsCountInSixteensAndGrowBeyondFourDigits)
{
    const auto data = counting(0x10000 + 1);
    const QStringList rows = dumpRows(data.data(), int(data.size()));
    ASSERT_EQ(rows.size(), 0x1000 + 1);
    EXPECT_TRUE(rows[1].startsWith("0010: "));
    EXPECT_TRUE(rows[2].startsWith("0020: "));
    EXPECT_TRUE(rows[0xFFF].startsWith("FFF0: "));
    EXPECT_TRUE(rows.last().startsWith("10000: "));
    EXPECT_EQ(rows[0xA].left(6), "00A0: ");
}

TEST(DumpRows, RowsOfFourDigitOffsetsAreAtMost72Wide)
{
    const auto data = counting(32);
    for (const QString &row : dumpRows(data.data(), 32))
        EXPECT_LE(row.size(), 72);
}
