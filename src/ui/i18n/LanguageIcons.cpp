#include "ui/i18n/LanguageIcons.h"

#include "core/i18n/LanguageCode.h"

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

} // namespace

TLanguageIcons::TLanguageIcons(const QStringList &languageIds)
{
    for (const QString &id : languageIds) {
        const QPixmap flag = loadFlag(id);
        if (flag.isNull())
            continue;
        FList.append(flag);
        FLanguageIcons.append(TLanguageIcon(id, int(FList.size() - 1)));
    }
}

int TLanguageIcons::GetIconIndex(const QString &ID) const
{
    for (const TLanguageIcon &icon : FLanguageIcons) {
        if (icon.ID() == ID)
            return icon.Index();
    }
    return -1;
}

QIcon TLanguageIcons::CreateIcon(const QString &ID) const
{
    const int index = GetIconIndex(ID);
    if (index < 0 || index >= FList.size())
        return {};
    return iconOf(FList.at(index));
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
    if (!isLetterCode(code, 2, 2))
        return {};
    initFlagResources();
    QPixmap flag(kFlagFolder + u'/' + code.toUpper() + QStringLiteral(".png"));
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
