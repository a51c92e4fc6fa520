#pragma once
#include "ui/dialogs/MsgDlgTypes.h"

#include <QFont>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>

// Geometry of one message box call, computed without any widget so the
// arithmetic can be checked on its own. Sizes are the dialog's own size;
// window frame and title bar are the window manager's and come on top.

struct MsgBoxButtonPlan
{
    TMsgDlgBtn btn;
    QString caption; // untranslated
    int result;
    QString name;    // "But1", "But2", ...
    QRect geometry;
};

struct MsgBoxLayout
{
    QPoint labelPos;
    QSize windowSize;
    int rowWidth = 0;
    QList<MsgBoxButtonPlan> buttons;
};

namespace MsgBoxMetrics {
constexpr int ImgLeft = 16;
constexpr int ImgTop = 16;
constexpr int ImgSize = 32;
constexpr int LabelTop = 8;
constexpr int LabelLeftNoIcon = 20;
constexpr int LabelIconGap = 20;
constexpr int Margin = 20;
constexpr int MinWidth = 280;
constexpr int MinHeight = 120;
constexpr int HeightExtra = 75;
constexpr int ButtonRise = 55;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 25;
constexpr int ButtonGap = 10;
} // namespace MsgBoxMetrics

// `buttonSize` is the size of every button of the row: the designed 75 x 25,
// or more where a larger font needs it; the box grows by what a taller
// button adds.
MsgBoxLayout computeMsgBoxLayout(int labelWidth, int labelHeight, bool hasIcon, TMsgBut buttons,
                                 QSize buttonSize = {MsgBoxMetrics::ButtonWidth, MsgBoxMetrics::ButtonHeight});

// The message text's font: the designed one, at the desktop's size where
// that is larger.
QFont messageFont(QFont designed, const QFont &desktop);

// Top-left corner that centres a box of `size` over `anchor`, kept from
// leaving the desktop over its left or top edge.
QPoint placeMsgBox(QSize size, const QRect &anchor, const QRect &desktop);
