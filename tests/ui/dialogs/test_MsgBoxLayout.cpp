#include "ui/dialogs/MsgBoxLayout.h"

#include <gtest/gtest.h>

namespace {

QStringList names(const MsgBoxLayout &l)
{
    QStringList out;
    for (const auto &b : l.buttons)
        out << b.name;
    return out;
}

QStringList captions(const MsgBoxLayout &l)
{
    QStringList out;
    for (const auto &b : l.buttons)
        out << b.caption;
    return out;
}

QList<int> results(const MsgBoxLayout &l)
{
    QList<int> out;
    for (const auto &b : l.buttons)
        out << b.result;
    return out;
}

const TMsgBut AllSix{mbYes, mbNo, mbOK, mbClose, mbIgnore, mbAbort};

} // namespace

TEST(MsgButSet, MembersAreBitsInEnumerationOrder)
{
    EXPECT_EQ(TMsgBut(mbYes).bits(), 1u);
    EXPECT_EQ(TMsgBut(mbClose).bits(), 8u);
    EXPECT_EQ((mbYes | mbNo).bits(), 3u);
    EXPECT_EQ(AllSix.bits(), 63u);
    EXPECT_TRUE((mbYes | mbNo).contains(mbNo));
    EXPECT_FALSE((mbYes | mbNo).contains(mbOK));
    EXPECT_EQ(TMsgBut::fromBits(0xFFFF).bits(), 0x1FFu); // nine buttons, nothing beyond
    EXPECT_TRUE(TMsgBut().isEmpty());
}

TEST(MsgBoxLayout, ShortLineWithCloseGivesTheMinimumBox)
{
    const auto l = computeMsgBoxLayout(60, 13, true, mbClose);
    EXPECT_EQ(l.windowSize, QSize(280, 120));
    EXPECT_EQ(l.labelPos, QPoint(68, 8));
    ASSERT_EQ(l.buttons.size(), 1);
    EXPECT_EQ(l.buttons[0].geometry, QRect(280 / 2 - 75 / 2, 120 - 55, 75, 25));
    EXPECT_EQ(l.buttons[0].name, "But1");
    EXPECT_EQ(l.buttons[0].caption, "Close");
    EXPECT_EQ(l.buttons[0].result, 2);
}

TEST(MsgBoxLayout, YesNoRowIsCentred)
{
    const auto l = computeMsgBoxLayout(60, 13, true, mbYes | mbNo);
    EXPECT_EQ(l.rowWidth, 160);
    ASSERT_EQ(captions(l), QStringList({"Yes", "No"}));
    EXPECT_EQ(l.buttons[0].geometry.left(), 60);
    EXPECT_EQ(l.buttons[1].geometry.left(), 145);
    EXPECT_EQ(results(l), QList<int>({6, 7}));
}

TEST(MsgBoxLayout, LongTextWidensAndTallTextHeightens)
{
    const auto wide = computeMsgBoxLayout(400, 13, true, mbOK);
    EXPECT_EQ(wide.windowSize.width(), 68 + 400 + 20);
    EXPECT_EQ(wide.buttons[0].geometry.left(), wide.windowSize.width() / 2 - 75 / 2);

    const auto tall = computeMsgBoxLayout(60, 80, true, mbOK);
    EXPECT_EQ(tall.windowSize.height(), 80 + 75);
    EXPECT_EQ(tall.buttons[0].geometry.top(), 80 + 75 - 55);
}

TEST(MsgBoxLayout, WithoutIconTheTextStartsAt20)
{
    const auto l = computeMsgBoxLayout(300, 13, false, mbClose);
    EXPECT_EQ(l.labelPos, QPoint(20, 8));
    EXPECT_EQ(l.windowSize.width(), 20 + 300 + 20);
}

TEST(MsgBoxLayout, CloseComesFirstThenTheFixedOrder)
{
    const auto l = computeMsgBoxLayout(60, 13, true, AllSix);
    EXPECT_EQ(captions(l), QStringList({"Close", "Yes", "No", "Ok", "Ignore", "Abort"}));
    EXPECT_EQ(names(l), QStringList({"But1", "But2", "But3", "But4", "But5", "But6"}));
    EXPECT_EQ(results(l), QList<int>({2, 6, 7, 1, 5, 3}));

    const auto pair = computeMsgBoxLayout(60, 13, true, mbAbort | mbClose);
    EXPECT_EQ(captions(pair), QStringList({"Close", "Abort"}));
}

TEST(MsgBoxLayout, AWideButtonRowWidensTheBoxToKeepItsMargins)
{
    const auto l = computeMsgBoxLayout(60, 13, true, AllSix);
    EXPECT_EQ(l.rowWidth, 500);
    EXPECT_EQ(l.windowSize.width(), 500 + 40);
    EXPECT_EQ(l.buttons.first().geometry.left(), 20);
    EXPECT_EQ(l.buttons.last().geometry.right() + 1, l.windowSize.width() - 20);
    for (qsizetype i = 1; i < l.buttons.size(); ++i)
        EXPECT_EQ(l.buttons[i].geometry.left() - l.buttons[i - 1].geometry.left(), 85);
}

TEST(MsgBoxLayout, AWideTextStillDecidesWhenWiderThanTheRow)
{
    const auto l = computeMsgBoxLayout(600, 13, true, AllSix);
    EXPECT_EQ(l.windowSize.width(), 68 + 600 + 20);
    EXPECT_EQ(l.buttons.first().geometry.left(), l.windowSize.width() / 2 - 250);
}

TEST(MsgBoxPlacement, CentresOverTheAnchor)
{
    const QPoint p = placeMsgBox(QSize(280, 120), QRect(100, 100, 600, 400), QRect(0, 0, 1920, 1080));
    EXPECT_EQ(p, QPoint(100 + 299 - 140, 100 + 199 - 60));
}

TEST(MsgBoxPlacement, NeverLeavesTheDesktopLeftOrTopEdge)
{
    const QRect desktop(-1280, 0, 3200, 1080);
    EXPECT_EQ(placeMsgBox(QSize(400, 300), QRect(-1300, -50, 100, 100), desktop), QPoint(-1280, 0));
    // Right and bottom are not clamped: the window manager keeps those on screen.
    EXPECT_EQ(placeMsgBox(QSize(400, 300), QRect(1900, 1000, 100, 100), desktop).x(), 1949 - 200);
}

TEST(MsgBoxLayout, ButtonsGrowForALargerFontAndTheBoxWithThem)
{
    EXPECT_EQ(computeMsgBoxLayout(60, 13, true, mbYes | mbNo, QSize(60, 20)).buttons[1].geometry, QRect(145, 65, 75, 25));
    const auto larger = computeMsgBoxLayout(60, 13, true, mbYes | mbNo, QSize(90, 31));
    EXPECT_EQ(larger.windowSize, QSize(280, 126));
    EXPECT_EQ(larger.buttons[1].geometry, QRect(145, 126 - 30 - 31, 90, 31));
}

TEST(MsgBoxLayout, TextFollowsTheDesktopFontOnlyWhenLarger)
{
    for (const auto &[desktop, shown] : {std::pair{7, 8}, {8, 8}, {12, 12}})
        EXPECT_EQ(messageFont(QFont("Tahoma", 8), QFont("Sans", desktop)), QFont("Tahoma", shown)) << desktop;
}
