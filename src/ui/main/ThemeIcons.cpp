#include "ui/main/ThemeIcons.h"

#include <QImage>
#include <QPainter>
#include <QWidget>

#include <cstdlib>

// The appicon resource lives in this static library and must be
// registered by hand before first use (outside any namespace, as the
// resource's own function is).
static void initAppIconResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(appicon);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

// Sizes a tool bar or window asks for, at the pixel ratios of usual screens.
constexpr int kGlyphSizes[] = {16, 22, 24, 32, 48, 64};

bool isGreyGlyph(const QImage &image)
{
    bool anyPixel = false;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = image.pixel(x, y);
            if (qAlpha(p) < 32)
                continue;
            anyPixel = true;
            if (std::abs(qRed(p) - qGreen(p)) > 24 || std::abs(qGreen(p) - qBlue(p)) > 24)
                return false;
        }
    }
    return anyPixel;
}

QPixmap tinted(const QPixmap &glyph, const QColor &colour)
{
    QImage image = glyph.toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    QPainter painter(&image);
    painter.setCompositionMode(QPainter::CompositionMode_SourceIn);
    painter.fillRect(image.rect(), colour);
    painter.end();
    QPixmap result = QPixmap::fromImage(image);
    result.setDevicePixelRatio(glyph.devicePixelRatio());
    return result;
}

} // namespace

namespace ThemeIcons {

QIcon applicationIcon()
{
    initAppIconResources();
    QIcon pictures;
    for (int size : {16, 32, 48, 64, 128, 256})
        pictures.addFile(QStringLiteral(":/appicon/corvane-config-%1.png").arg(size), QSize(size, size));
    return QIcon::fromTheme(QStringLiteral("corvane-config"), pictures);
}

QIcon toolIcon(const char *themeName, QStyle::StandardPixmap fallback, const QWidget *widget)
{
    const QIcon themed = QIcon::fromTheme(QLatin1String(themeName));
    if (!themed.isNull())
        return themed;
    const QIcon standard = widget->style()->standardIcon(fallback, nullptr, widget);
    const QPixmap probe = standard.pixmap(QSize(32, 32));
    if (probe.isNull() || !isGreyGlyph(probe.toImage().convertToFormat(QImage::Format_ARGB32)))
        return standard;

    const QColor colour = widget->palette().color(QPalette::ButtonText);
    QIcon icon;
    for (int size : kGlyphSizes) {
        for (qreal ratio : {1.0, 2.0})
            icon.addPixmap(tinted(standard.pixmap(QSize(size, size), ratio), colour));
    }
    return icon;
}

} // namespace ThemeIcons
