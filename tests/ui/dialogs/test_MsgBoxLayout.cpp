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

// The box grows from its minimum with the text, the icon and the button row,
// whichever is widest; the row is centred with its margins kept.
TEST(MsgBoxLayout, SizesTheBoxByTextIconAndButtons)
{
    const QSize standard(75, 25);
    const struct {
        const char *what;
        int textWidth, textHeight;
        bool icon;
        TMsgBut buttons;
        QSize buttonSize, window;
        QPoint label;
        int rowWidth;
        QRect first, last;
    } kCases[] = {
        {"short line", 60, 13, true, mbClose, standard, {280, 120}, {68, 8}, 75, {103, 65, 75, 25}, {103, 65, 75, 25}},
        {"yes/no", 60, 13, true, mbYes | mbNo, standard, {280, 120}, {68, 8}, 160, {60, 65, 75, 25}, {145, 65, 75, 25}},
        {"small font", 60, 13, true, mbYes | mbNo, {60, 20}, {280, 120}, {68, 8}, 160, {60, 65, 75, 25}, {145, 65, 75, 25}},
        {"larger font", 60, 13, true, mbYes | mbNo, {90, 31}, {280, 126}, {68, 8}, 190, {45, 65, 90, 31}, {145, 65, 90, 31}},
        {"wide text", 400, 13, true, mbOK, standard, {488, 120}, {68, 8}, 75, {207, 65, 75, 25}, {207, 65, 75, 25}},
        {"tall text", 60, 80, true, mbOK, standard, {280, 155}, {68, 8}, 75, {103, 100, 75, 25}, {103, 100, 75, 25}},
        {"no icon", 300, 13, false, mbClose, standard, {340, 120}, {20, 8}, 75, {133, 65, 75, 25}, {133, 65, 75, 25}},
        {"wide row", 60, 13, true, AllSix, standard, {540, 120}, {68, 8}, 500, {20, 65, 75, 25}, {445, 65, 75, 25}},
        {"text wider than the row", 600, 13, true, AllSix, standard, {688, 120}, {68, 8}, 500, {94, 65, 75, 25},
         {519, 65, 75, 25}},
    };
    for (const auto &c : kCases) {
        const auto l = computeMsgBoxLayout(c.textWidth, c.textHeight, c.icon, c.buttons, c.buttonSize);
        EXPECT_EQ(l.windowSize, c.window) << c.what;
        EXPECT_EQ(l.labelPos, c.label) << c.what;
        EXPECT_EQ(l.rowWidth, c.rowWidth) << c.what;
        ASSERT_FALSE(l.buttons.isEmpty()) << c.what;
        EXPECT_EQ(l.buttons.first().geometry, c.first) << c.what;
        EXPECT_EQ(l.buttons.last().geometry, c.last) << c.what;
        for (qsizetype i = 1; i < l.buttons.size(); ++i)
            EXPECT_EQ(l.buttons[i].geometry.left() - l.buttons[i - 1].geometry.left(), c.first.width() + 10) << c.what;
    }
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

TEST(MsgBoxLayout, TextFollowsTheDesktopFontOnlyWhenLarger)
{
    for (const auto &[desktop, shown] : {std::pair{7, 8}, {8, 8}, {12, 12}})
        EXPECT_EQ(messageFont(QFont("Tahoma", 8), QFont("Sans", desktop)), QFont("Tahoma", shown)) << desktop;
}
