#pragma once
#include <QByteArray>
#include <QByteArrayView>
#include <QPoint>
#include <Qt>

#include <array>
#include <functional>
#include <optional>

class IniFile;

// How the main window is shown after a stored placement is applied.
enum class WindowShowState { Normal, Minimised, Maximised };

// The main window's stored placement, section "Main" of the settings file.
// The fields mirror the Windows placement record the file format came from,
// so files move between platforms and versions unchanged.
struct WindowPlacement
{
    // Show commands of that record which we write.
    static constexpr int ShowNormal = 1;
    static constexpr int ShowMinimised = 2;
    static constexpr int ShowMaximised = 3;

    int showCmd = ShowNormal;
    int flags = 0;
    int pixelsPerInch = 0;
    QPoint minPos{-1, -1};
    QPoint maxPos{-1, -1};
    // Normal window rectangle in screen coordinates; right and bottom are
    // exclusive, as in the record. Unset when "NormPos" is absent or
    // unreadable.
    struct Rect
    {
        int left = 0;
        int top = 0;
        int right = 0;
        int bottom = 0;
        bool operator==(const Rect &) const = default;
    };
    std::optional<Rect> normPos;

    bool operator==(const WindowPlacement &) const = default;

    static WindowPlacement readFrom(const IniFile &ini);
    // Sets the keys of section "Main"; saving is the caller's business.
    bool writeTo(IniFile &ini) const;
};

// The stored position is only used when it was stored at the current
// resolution and both the top-left and the bottom-right corner of the normal
// rectangle lie on some monitor, so a window never comes up off-screen.
bool placementApplies(const WindowPlacement &placement, int currentDpi,
                      const std::function<bool(QPoint)> &onSomeScreen);

// 1, 5, 9 normal; 2, 6, 7 minimised; 3 maximised; anything else normal.
WindowShowState showStateFromCmd(int showCmd);
int showCmdFromWindowState(Qt::WindowStates states);

// "%d,%d,%d,%d" as stored in "MinMaxPos" and "NormPos".
QByteArray formatFourInts(int a, int b, int c, int d);
std::optional<std::array<int, 4>> parseFourInts(QByteArrayView text);
