#include "ui/dialogs/ProductPicture.h"

#include <QFont>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>

namespace {

constexpr QSize PictureSize(93, 200);
constexpr int ChannelCount = 8;

void drawBody(QPainter &p)
{
    const QRectF body(10.5, 16.5, 72, 174);
    QLinearGradient shade(body.topLeft(), body.topRight());
    shade.setColorAt(0.0, QColor(0x4a, 0x50, 0x5a));
    shade.setColorAt(0.5, QColor(0x2c, 0x30, 0x37));
    shade.setColorAt(1.0, QColor(0x1c, 0x1f, 0x24));
    p.setPen(QPen(QColor(0x0e, 0x10, 0x13), 1));
    p.setBrush(shade);
    p.drawRoundedRect(body, 7, 7);

    // A soft highlight along the top edge gives the box some volume.
    p.setPen(QPen(QColor(255, 255, 255, 40), 1));
    p.drawLine(QPointF(17, 17.5), QPointF(76, 17.5));
}

void drawUsbPort(QPainter &p)
{
    const QRectF shell(34.5, 6.5, 24, 14);
    QLinearGradient metal(shell.topLeft(), shell.bottomLeft());
    metal.setColorAt(0.0, QColor(0xe8, 0xea, 0xee));
    metal.setColorAt(1.0, QColor(0x9a, 0x9f, 0xa8));
    p.setPen(QPen(QColor(0x5c, 0x61, 0x69), 1));
    p.setBrush(metal);
    p.drawRoundedRect(shell, 2, 2);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x22, 0x25, 0x2a));
    p.drawRect(QRectF(38, 10, 17, 7));
    p.setBrush(QColor(0xd8, 0xdb, 0xe0));
    p.drawRect(QRectF(41, 12, 11, 3));
}

void drawLed(QPainter &p, QPointF centre, QColor colour, qreal radius)
{
    QRadialGradient glow(centre, radius * 2.2);
    QColor halo = colour;
    halo.setAlpha(90);
    glow.setColorAt(0.0, halo);
    glow.setColorAt(1.0, Qt::transparent);
    p.setPen(Qt::NoPen);
    p.setBrush(glow);
    p.drawEllipse(centre, radius * 2.2, radius * 2.2);
    QRadialGradient lens(centre - QPointF(radius / 3, radius / 3), radius);
    lens.setColorAt(0.0, colour.lighter(170));
    lens.setColorAt(1.0, colour);
    p.setBrush(lens);
    p.drawEllipse(centre, radius, radius);
}

void drawBrand(QPainter &p)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(8);
    font.setBold(true);
    font.setLetterSpacing(QFont::AbsoluteSpacing, 0.8);
    p.setFont(font);
    p.setPen(QColor(0xc9, 0xcd, 0xd4));
    p.drawText(QRectF(12, 24, 58, 12), Qt::AlignCenter, QStringLiteral("CORVANE"));
    drawLed(p, QPointF(73, 30), QColor(0x2e, 0xcc, 0x40), 2.2);
}

// Three-pin connector with the channel's LED beside it; the LEDs run through
// the colours a stripe might show.
void drawChannel(QPainter &p, int index)
{
    const qreal top = 44 + index * 17.5;
    const QRectF plug(20.5, top + 0.5, 34, 11);
    p.setPen(QPen(QColor(0x9c, 0x92, 0x7c), 1));
    p.setBrush(QColor(0xee, 0xe6, 0xd2));
    p.drawRoundedRect(plug, 1.5, 1.5);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x4d, 0x47, 0x3c));
    for (int pin = 0; pin < 3; ++pin)
        p.drawRect(QRectF(24 + pin * 10, top + 3.5, 6, 5));

    const QColor colour = QColor::fromHsv(index * 360 / ChannelCount, 200, 255);
    drawLed(p, QPointF(66, top + 6), colour, 2.6);
}

} // namespace

QPixmap productPicture(qreal devicePixelRatio)
{
    const qreal dpr = devicePixelRatio > 0 ? devicePixelRatio : 1.0;
    QPixmap pixmap(PictureSize * dpr);
    pixmap.setDevicePixelRatio(dpr);
    pixmap.fill(Qt::transparent);

    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    drawBody(p);
    drawUsbPort(p);
    drawBrand(p);
    for (int i = 0; i < ChannelCount; ++i)
        drawChannel(p, i);
    return pixmap;
}
