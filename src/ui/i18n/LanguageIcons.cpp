#include "ui/i18n/LanguageIcons.h"

#include "core/i18n/LanguageCode.h"
#include "ui/main/PngResource.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>

// The flags are compiled into this static library; its resources must be
// registered by hand before first use.
static void initFlagResources()
{
    static const bool done = [] {
        Q_INIT_RESOURCE(flags);
        return true;
    }();
    Q_UNUSED(done);
}

namespace {

const QString kFlagFolder = QStringLiteral(":/flags");

// The resource of a language code's flag; empty for codes that cannot name one.
QString flagPath(const QString &code)
{
    if (!isLetterCode(code, 2, 2))
        return {};
    initFlagResources();
    return kFlagFolder + u'/' + code.toUpper() + QStringLiteral(".png");
}

} // namespace

TLanguageIcons::TLanguageIcons(const QStringList &languageIds)
{
    for (const QString &id : languageIds) {
        const QString path = flagPath(id);
        if (path.isEmpty() || !QFileInfo::exists(path))
            continue;
        m_list.append(QPixmap());
        FLanguageIcons.append(TLanguageIcon(id, int(m_list.size() - 1)));
    }
}

QPixmap TLanguageIcons::image(int index) const
{
    if (index < 0 || index >= m_list.size())
        return {};
    QPixmap &flag = m_list[index];
    if (flag.isNull())
        flag = loadFlag(FLanguageIcons.at(index).ID());
    return flag;
}

int TLanguageIcons::GetIconIndex(const QString &id) const
{
    for (const TLanguageIcon &icon : FLanguageIcons) {
        if (icon.ID() == id)
            return icon.Index();
    }
    return -1;
}

QIcon TLanguageIcons::CreateIcon(const QString &id) const
{
    const QPixmap flag = image(GetIconIndex(id));
    return flag.isNull() ? QIcon() : iconOf(flag);
}

QStringList TLanguageIcons::flagNames()
{
    initFlagResources();
    QStringList names;
    const QStringList files = QDir(kFlagFolder).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    for (const QString &file : files)
        names.append(QFileInfo(file).completeBaseName());
    return names;
}

QPixmap TLanguageIcons::loadFlag(const QString &code)
{
    const QString path = flagPath(code);
    if (path.isEmpty())
        return {};
    QPixmap flag = QPixmap::fromImage(readPng(path));
    if (flag.isNull())
        return {};
    // The pictures hold two pixels per logical pixel, so that a scaled
    // screen shows them sharp; any other artwork is fitted into the square.
    const QSize pixels(IconSize * PixelRatio, IconSize * PixelRatio);
    if (flag.size() != pixels) {
        const QPixmap fitted = flag.scaled(pixels, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPixmap square(pixels);
        square.fill(Qt::transparent);
        QPainter painter(&square);
        painter.drawPixmap((pixels.width() - fitted.width()) / 2, (pixels.height() - fitted.height()) / 2, fitted);
        painter.end();
        flag = square;
    }
    flag.setDevicePixelRatio(PixelRatio);
    return flag;
}

QIcon TLanguageIcons::iconOf(const QPixmap &flag)
{
    // Each flag pixel is a 2 x 2 block, so halving it with the "fast"
    // filter gives the original pixels back for unscaled screens.
    QPixmap single = flag.scaled(flag.size() / PixelRatio, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    single.setDevicePixelRatio(1.0);
    QIcon icon(single);
    icon.addPixmap(flag);
    return icon;
}
