#include "ui/dialogs/uDebug.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <gtest/gtest.h>

#include <vector>

class DebugWindowTest : public ::testing::Test
{
protected:
    TDebug dbg;
};

TEST_F(DebugWindowTest, OneLineOperations)
{
    dbg.S("hello");
    dbg.D(-1);
    dbg.D(INT32_MIN);
    dbg.H(quint32(-1));
    dbg.H(0x1A);
    dbg.B(true);
    dbg.B(false);
    dbg.TH("Tag", 0xABC);
    dbg.L('=');
    EXPECT_EQ(dbg.lines(), QStringList({"hello", "-1", "-2147483648", "FFFFFFFF", "0000001A", "TRUE", "FALSE",
                                        "Tag: 00000ABC", QString(60, '=')}));
}

TEST_F(DebugWindowTest, FormattedLines)
{
    dbg.F("%s=%d", "count", 5);
    dbg.F("0x%.2X", QVariantList{10});
    dbg.F("plain");
    EXPECT_EQ(dbg.lines(), QStringList({"count=5", "0x0A", "plain"}));
}

TEST_F(DebugWindowTest, DumpWritesACountLineThenRows)
{
    dbg.DUMP(QByteArray("ABCDE"), -1);
    const QStringList lines = dbg.lines();
    ASSERT_EQ(lines.size(), 2);
    EXPECT_EQ(lines[0], "Anzahl: 5");
    EXPECT_TRUE(lines[1].endsWith("  ABCDE"));
}

TEST_F(DebugWindowTest, DumpOfNothingIsOnlyTheCountLine)
{
    dbg.DUMP(QByteArray("ABC"), 0);
    dbg.BUFF(QByteArray("ABC"), 0);
    EXPECT_EQ(dbg.lines(), QStringList({"Anzahl: 0"}));
}

TEST_F(DebugWindowTest, DumpsNeverReadPastTheirData)
{
    const std::vector<uint8_t> three{0x31, 0x32, 0x33};
    dbg.DUMP(three, 1000);
    dbg.DUMP(three, -7);
    dbg.BUFF(three, 1000);
    dbg.BUFF(three, -1);
    const QStringList lines = dbg.lines();
    ASSERT_EQ(lines.size(), 4);
    EXPECT_EQ(lines[0], "Anzahl: 3");
    EXPECT_TRUE(lines[1].endsWith("  123"));
    EXPECT_EQ(lines[2], "Anzahl: 0");
    EXPECT_EQ(lines[3], lines[1]);
}

TEST_F(DebugWindowTest, PartOfABufferWithoutCountLine)
{
    const uint8_t report[64] = {0x03, 0x01, 0xE3};
    dbg.BUFF(report, 17);
    ASSERT_EQ(dbg.lines().size(), 2);
    EXPECT_TRUE(dbg.lines()[0].startsWith("0000:  03 01 E3 00"));
    EXPECT_TRUE(dbg.lines()[1].startsWith("0010:  00 .."));
}

TEST_F(DebugWindowTest, ClearEmptiesTheLog)
{
    dbg.S("a");
    dbg.C();
    EXPECT_TRUE(dbg.lines().isEmpty());
    dbg.S("b");
    EXPECT_EQ(dbg.lines(), QStringList({"b"}));
}

TEST_F(DebugWindowTest, DoubleClickEmptiesTheLog)
{
    dbg.S("a");
    dbg.S("b");
    auto *memo = dbg.findChild<QPlainTextEdit *>("Memo");
    ASSERT_NE(memo, nullptr);
    const QPointF at(5, 5);
    QMouseEvent dbl(QEvent::MouseButtonDblClick, at, memo->viewport()->mapToGlobal(at), Qt::LeftButton,
                    Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(memo->viewport(), &dbl);
    EXPECT_TRUE(dbg.lines().isEmpty());
    dbg.S("first");
    EXPECT_EQ(dbg.lines(), QStringList({"first"}));
}

TEST_F(DebugWindowTest, LinesLoggedWhileHiddenAppearWhenShown)
{
    dbg.S("kept");
    dbg.show();
    EXPECT_EQ(dbg.findChild<QPlainTextEdit *>("Memo")->toPlainText(), "kept");
    dbg.hide();
}

TEST_F(DebugWindowTest, AWholeDumpRowFitsTheMemo)
{
    dbg.show();
    auto *memo = dbg.findChild<QPlainTextEdit *>("Memo");
    const qreal row = QFontMetricsF(memo->font()).horizontalAdvance(QString(72, '0'));
    EXPECT_LE(row + 2 * memo->document()->documentMargin(), memo->viewport()->width());
    EXPECT_TRUE(QFontInfo(memo->font()).fixedPitch());
    dbg.hide();
}
