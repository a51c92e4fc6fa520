#include "ui/dialogs/LinkLabel.h"

#include <QMouseEvent>

namespace {
const QColor LinkColour(0x00, 0x00, 0x80);
const QColor HoverColour(0x00, 0x00, 0xFF);
} // namespace

LinkLabel::LinkLabel(QWidget *parent)
    : QLabel(parent)
{
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setCursor(Qt::PointingHandCursor);
    setTextFormat(Qt::PlainText);
    setHighlighted(false);
}

void LinkLabel::setUrl(const QUrl &url)
{
    FUrl = url;
    setToolTip(url.toString());
}

void LinkLabel::enterEvent(QEnterEvent *event)
{
    setHighlighted(true);
    QLabel::enterEvent(event);
}

void LinkLabel::leaveEvent(QEvent *event)
{
    setHighlighted(false);
    QLabel::leaveEvent(event);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit activated(FUrl);
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::setHighlighted(bool on)
{
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, on ? HoverColour : LinkColour);
    setPalette(pal);
}
