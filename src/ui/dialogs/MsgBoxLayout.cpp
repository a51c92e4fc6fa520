#include "ui/dialogs/MsgBoxLayout.h"

#include <algorithm>

using namespace MsgBoxMetrics;

MsgBoxLayout computeMsgBoxLayout(int labelWidth, int labelHeight, bool hasIcon, TMsgBut buttons, QSize buttonSize)
{
    const QSize button = buttonSize.expandedTo(QSize(ButtonWidth, ButtonHeight));
    const int taller = button.height() - ButtonHeight;
    MsgBoxLayout l;
    const int labelLeft = hasIcon ? ImgLeft + ImgSize + LabelIconGap : LabelLeftNoIcon;
    l.labelPos = QPoint(labelLeft, LabelTop);

    for (const MsgButtonDef &def : msgButtonOrder()) {
        if (!buttons.contains(def.btn))
            continue;
        const QString name = QStringLiteral("But%1").arg(l.buttons.size() + 1);
        l.buttons.append({def.btn, QString::fromLatin1(def.caption), def.result, name, {}});
    }
    const auto n = int(l.buttons.size());
    l.rowWidth = n > 0 ? n * button.width() + (n - 1) * ButtonGap : 0;

    // The row must fit between the same margins as the text; without this
    // a six-button row would stick out on both sides of a 280-wide box.
    const int width = std::max({labelLeft + labelWidth + Margin, MinWidth, l.rowWidth + 2 * Margin});
    const int height = std::max(labelHeight + HeightExtra, MinHeight) + taller;
    l.windowSize = QSize(width, height);

    const int top = height - ButtonRise - taller;
    int left = width / 2 - l.rowWidth / 2;
    for (MsgBoxButtonPlan &b : l.buttons) {
        b.geometry = QRect(QPoint(left, top), button);
        left += button.width() + ButtonGap;
    }
    return l;
}

QFont messageFont(QFont designed, const QFont &desktop)
{
    if (desktop.pointSizeF() > designed.pointSizeF())
        designed.setPointSizeF(desktop.pointSizeF());
    return designed;
}

QPoint placeMsgBox(QSize size, const QRect &anchor, const QRect &desktop)
{
    const QPoint centre = anchor.center();
    const int x = centre.x() - size.width() / 2;
    const int y = centre.y() - size.height() / 2;
    return QPoint(std::max(x, desktop.left()), std::max(y, desktop.top()));
}
