#include "core/files/IniFile.h"
#include "core/files/WindowPlacement.h"

#include <QRect>

#include <gtest/gtest.h>

#include <functional>

namespace {

// One 1920x1080 monitor at the origin.
bool onMonitor(QPoint p)
{
    return QRect(0, 0, 1920, 1080).contains(p);
}

WindowPlacement stored(int left, int top, int right, int bottom, int dpi = 96)
{
    WindowPlacement p;
    p.pixelsPerInch = dpi;
    p.normPos = WindowPlacement::Rect{left, top, right, bottom};
    return p;
}

} // namespace

// Applies only when stored at this resolution, a proper rectangle, with both
// corners on a monitor (right and bottom exclusive).
TEST(PlacementApplies, OnlyAtThisResolutionWithBothCornersOnAMonitor)
{
    // A monitor left of the primary one has negative coordinates.
    const auto twoMonitors = [](QPoint p) { return onMonitor(p) || QRect(-1280, 0, 1280, 1024).contains(p); };
    const auto everywhere = [](QPoint) { return true; };
    WindowPlacement none;
    none.pixelsPerInch = 96;
    const struct {
        WindowPlacement stored;
        std::function<bool(QPoint)> monitors;
        bool applies;
    } cases[] = {
        {stored(100, 100, 665, 523), onMonitor, true},
        {stored(0, 0, 1920, 1080), onMonitor, true},
        {stored(-1000, 50, 200, 600), twoMonitors, true},
        {none, onMonitor, false},
        {stored(100, 100, 665, 523, 120), onMonitor, false},
        {stored(100, 100, 665, 523), {}, false},
        {stored(-1, 100, 500, 400), onMonitor, false},
        {stored(100, 100, 1921, 400), onMonitor, false},
        {stored(100, 100, 500, 1081), onMonitor, false},
        {stored(3000, 100, 3500, 400), onMonitor, false},
        {stored(500, 100, 500, 400), onMonitor, false},
        {stored(600, 100, 500, 400), onMonitor, false},
        {stored(100, 400, 500, 400), onMonitor, false},
        {stored(100, 0, 500, INT_MIN), everywhere, false},
    };
    for (size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(placementApplies(cases[i].stored, 96, cases[i].monitors), cases[i].applies) << "case " << i;
}

TEST(ShowCommand, MapsToWindowStates)
{
    for (int cmd : {1, 5, 9, 0, 4, 8, 10, -1})
        EXPECT_EQ(showStateFromCmd(cmd), WindowShowState::Normal) << cmd;
    for (int cmd : {2, 6, 7})
        EXPECT_EQ(showStateFromCmd(cmd), WindowShowState::Minimised) << cmd;
    EXPECT_EQ(showStateFromCmd(3), WindowShowState::Maximised);

    EXPECT_EQ(showCmdFromWindowState(Qt::WindowNoState), 1);
    EXPECT_EQ(showCmdFromWindowState(Qt::WindowActive), 1);
    EXPECT_EQ(showCmdFromWindowState(Qt::WindowMaximized), 3);
    EXPECT_EQ(showCmdFromWindowState(Qt::WindowMinimized | Qt::WindowMaximized), 2);
}

TEST(PlacementRecord, UnreadablePositionsCountAsAbsent)
{
    for (const char *text : {"1,2,3", "1,2,3,4,5", "a,b,c,d", "", "1,,3,4", "1,2,3,99999999999"}) {
        IniFile ini;
        ini.loadFromData(QByteArray("[Main]\nMinMaxPos=") + text + "\nNormPos=" + text + "\n");
        const WindowPlacement p = WindowPlacement::readFrom(ini);
        EXPECT_FALSE(p.normPos.has_value()) << text;
        EXPECT_EQ(p.minPos, QPoint(-1, -1)) << text;
    }
}

TEST(PlacementRecord, ReadsAllFieldsTolerantOfBlanks)
{
    IniFile ini;
    ini.loadFromData("[MAIN]\nShowCmd=2\nFlags=4\nPixelsPerInch=144\n"
                     "MinMaxPos=-32000, -32000, -8, -8\nNormPos= 10 ,20,30,40\n");
    const WindowPlacement p = WindowPlacement::readFrom(ini);
    EXPECT_EQ(p.showCmd, 2);
    EXPECT_EQ(p.flags, 4);
    EXPECT_EQ(p.pixelsPerInch, 144);
    EXPECT_EQ(p.minPos, QPoint(-32000, -32000));
    EXPECT_EQ(p.maxPos, QPoint(-8, -8));
    EXPECT_EQ(p.normPos, (WindowPlacement::Rect{10, 20, 30, 40}));
}
