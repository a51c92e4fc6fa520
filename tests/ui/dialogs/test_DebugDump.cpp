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

// Sixteen bytes a row, a short last row filled up; the text column shows
// blank to right brace and a dot for anything else.
TEST(DumpRows, SixteenBytesARowWithTheirText)
{
    const struct {
        QByteArray data;
        int size;
        QStringList rows;
    } kCases[] = {
        {QByteArray("\x41\x42\x0A"), 3, {"0000:  41 42 0A" + filler(13) + "  AB."}},
        {QByteArray("\x1F\x20\x7D\x7E\x7F\x80\xFF"), 7, {"0000:  1F 20 7D 7E 7F 80 FF" + filler(9) + "  . }...."}},
        {QByteArray(16, 'a'), 16, {"0000: " + QString(" 61").repeated(16) + "  " + QString(16, 'a')}},
        {QByteArray(16, '0') + 'Z', 17,
         {"0000: " + QString(" 30").repeated(16) + "  " + QString(16, '0'), "0010:  5A" + filler(15) + "  Z"}},
        {QByteArray(1, 'a'), 0, {}},
        {QByteArray(1, 'a'), -1, {}},
    };
    for (const auto &c : kCases)
        EXPECT_EQ(dumpRows(reinterpret_cast<const uint8_t *>(c.data.constData()), c.size), c.rows) << c.size;
    EXPECT_TRUE(dumpRows(nullptr, 5).isEmpty());
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
