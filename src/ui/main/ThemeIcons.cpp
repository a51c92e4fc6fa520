#include "ui/main/ThemeIcons.h"

#include "ui/main/PngResource.h"

#include <QApplication>
#include <QHash>
#include <QIconEngine>
#include <QImage>
#include <QPainter>
#include <QStyleOption>
#include <QWidget>

#include <cstdlib>
#include <mutex>
#include <optional>

// The appicon resource lives in this static library and must be
// registered by hand before first use (outside any namespace, as the
// resource's own function is).
static void initAppIconResources()
{
    static std::once_flag once;
    std::call_once(once, [] { Q_INIT_RESOURCE(appicon); });
}

namespace {

constexpr int kAppIconSizes[] = {16, 32, 48, 64, 128, 256};

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
    return QPixmap::fromImage(std::move(image));
}

// A disabled or selected look made from the normal picture, as Qt does for
// icons that have only one.
QPixmap inMode(const QPixmap &normal, QIcon::Mode mode)
{
    if (mode == QIcon::Normal || normal.isNull())
        return normal;
    QStyleOption option;
    option.palette = QGuiApplication::palette();
    return QApplication::style()->generatedIconPixmap(mode, normal, &option);
}

// Pictures are made when a size is first drawn, at that size only: a window
// shows its icons at one or two of the many sizes they come in.
class LazyIconEngine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State state) override
    {
        const qreal ratio = painter->device() ? painter->device()->devicePixelRatio() : 1.0;
        painter->drawPixmap(rect, pixmap(rect.size() * ratio, mode, state));
    }

    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        const QString key = QStringLiteral("%1x%2/%3/%4").arg(size.width()).arg(size.height()).arg(mode).arg(state);
        auto it = m_made.constFind(key);
        if (it == m_made.constEnd())
            it = m_made.insert(key, inMode(make(size, state), mode));
        return *it;
    }

protected:
    // The normal picture at `size` device pixels.
    virtual QPixmap make(const QSize &size, QIcon::State state) = 0;

private:
    QHash<QString, QPixmap> m_made;
};

// The program's pictures, each decoded from its resource when first needed.
class AppIconEngine : public LazyIconEngine
{
public:
    QIconEngine *clone() const override { return new AppIconEngine; }
    bool isNull() override { return false; }
    QSize actualSize(const QSize &size, QIcon::Mode, QIcon::State) override
    {
        const int largest = kAppIconSizes[std::size(kAppIconSizes) - 1];
        return size.boundedTo(QSize(largest, largest));
    }
    QList<QSize> availableSizes(QIcon::Mode, QIcon::State) override
    {
        QList<QSize> sizes;
        for (int side : kAppIconSizes)
            sizes << QSize(side, side);
        return sizes;
    }

protected:
    // The smallest picture that covers the size, made smaller to fit it.
    QPixmap make(const QSize &size, QIcon::State) override
    {
        int side = 0;
        for (int s : kAppIconSizes) {
            side = s; // the largest when none covers it
            if (s >= std::max(size.width(), size.height()))
                break;
        }
        initAppIconResources();
        QPixmap picture = QPixmap::fromImage(readPng(QStringLiteral(":/appicon/corvane-config-%1.png").arg(side)));
        const QSize fitted = picture.size().boundedTo(size);
        if (!picture.isNull() && fitted != picture.size())
            picture = picture.scaled(fitted, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        return picture;
    }
};

// A style's tool bar picture, drawn in the palette's button text colour
// when it is a plain grey glyph.
class GlyphEngine : public LazyIconEngine
{
public:
    GlyphEngine(const QIcon &standard, const QColor &colour) : m_standard(standard), m_colour(colour) {}
    QIconEngine *clone() const override { return new GlyphEngine(m_standard, m_colour); }
    bool isNull() override { return m_standard.isNull(); }
    QSize actualSize(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return m_standard.actualSize(size, mode, state);
    }
    QList<QSize> availableSizes(QIcon::Mode mode, QIcon::State state) override
    {
        return m_standard.availableSizes(mode, state);
    }

protected:
    QPixmap make(const QSize &size, QIcon::State state) override
    {
        const QPixmap glyph = m_standard.pixmap(size, 1.0, QIcon::Normal, state);
        if (!m_grey)
            m_grey = isGreyGlyph(glyph.toImage().convertToFormat(QImage::Format_ARGB32));
        return *m_grey ? tinted(glyph, m_colour) : glyph;
    }

private:
    QIcon m_standard;
    QColor m_colour;
    std::optional<bool> m_grey; // decided on the first picture
};

} // namespace

namespace ThemeIcons {

QIcon applicationIcon()
{
    return QIcon::fromTheme(QStringLiteral("corvane-config"), QIcon(new AppIconEngine));
}

QIcon toolIcon(const char *themeName, QStyle::StandardPixmap fallback, const QWidget *widget)
{
    const QIcon themed = QIcon::fromTheme(QLatin1String(themeName));
    if (!themed.isNull())
        return themed;
    return QIcon(new GlyphEngine(widget->style()->standardIcon(fallback, nullptr, widget),
                                 widget->palette().color(QPalette::ButtonText)));
}

} // namespace ThemeIcons
