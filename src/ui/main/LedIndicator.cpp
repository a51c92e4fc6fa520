#include "ui/main/LedIndicator.h"

#include <QPainter>
#include <QRadialGradient>

LedIndicator::LedIndicator(QWidget *parent)
    : QWidget(parent)
{
    setFixedSize(Diameter, Diameter);
}

void LedIndicator::setOn(bool on)
{
    if (m_on == on)
        return;
    m_on = on;
    update();
}

void LedIndicator::setOnColor(const QColor &color)
{
    if (m_onColor == color)
        return;
    m_onColor = color;
    if (m_on)
        update();
}

void LedIndicator::setOffColor(const QColor &color)
{
    if (m_offColor == color)
        return;
    m_offColor = color;
    if (!m_on)
        update();
}

void LedIndicator::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF r = QRectF(rect()).adjusted(1, 1, -1, -1);
    const QColor base = shownColor();

    // A highlight towards the upper left gives the lamp its dome.
    QRadialGradient glow(r.center(), r.width() / 2, r.topLeft() + QPointF(r.width() * 0.35, r.height() * 0.35));
    glow.setColorAt(0, base.lighter(170));
    glow.setColorAt(1, base.darker(130));
    p.setPen(QPen(palette().color(QPalette::Dark), 1));
    p.setBrush(glow);
    p.drawEllipse(r);
}
