#include "ui/dialogs/LinkLabel.h"

#include <QMouseEvent>

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
    m_url = url;
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
        emit activated(m_url);
    QLabel::mouseReleaseEvent(event);
}

void LinkLabel::changeEvent(QEvent *event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        setHighlighted(m_highlighted);
}

// The palette's link colour, and its highlight colour under the mouse, so
// the links read on a dark theme as well as on a light one.
void LinkLabel::setHighlighted(bool on)
{
    m_highlighted = on;
    const QColor colour = palette().color(on ? QPalette::Highlight : QPalette::Link);
    if (palette().color(QPalette::WindowText) == colour)
        return;
    QPalette pal = palette();
    pal.setColor(QPalette::WindowText, colour);
    setPalette(pal);
}
