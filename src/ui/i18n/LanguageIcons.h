#pragma once
#include <QIcon>
#include <QList>
#include <QPixmap>
#include <QString>
#include <QStringList>

// One language's flag: its language code and the position of its image in
// the flag list.
class TLanguageIcon
{
public:
    TLanguageIcon(const QString &id, int index) : FID(id), FIndex(index) {}
    const QString &ID() const { return FID; }
    int Index() const { return FIndex; }

private:
    QString FID;
    int FIndex;
};

// The flags of the language selector, one 16 x 16 image per language that
// has a flag, in catalogue order. The images hold 32 x 32 pixels (device
// pixel ratio 2), so they stay sharp on a screen scaled by two. An image is
// decoded the first time it is asked for: the catalogue knows far more
// languages than the selector lists.
class TLanguageIcons
{
public:
    static constexpr int IconSize = 16;
    static constexpr int PixelRatio = 2;

    // languageIds: the catalogue's language codes in catalogue order. A code's
    // flag is the flag resource of the same name, ignoring case; codes without
    // one are skipped.
    explicit TLanguageIcons(const QStringList &languageIds);

    const QList<TLanguageIcon> &icons() const { return FLanguageIcons; }
    // The image at an icon record's Index, decoded on first use; null when
    // the index is out of range.
    QPixmap image(int index) const;

    // Image index of the first record whose code equals ID exactly; -1 when none.
    int GetIconIndex(const QString &id) const;
    // A new icon of the image GetIconIndex(ID) finds; a null icon when none.
    QIcon CreateIcon(const QString &id) const;
    // An icon of a flag image that shows it sharp at every pixel ratio.
    static QIcon iconOf(const QPixmap &flag);

    // The names of all flag resources (two capital letters each), sorted.
    static QStringList flagNames();
    // The flag resource for a language code, ignoring case, 16 x 16 logical
    // pixels at pixel ratio 2; null when none.
    static QPixmap loadFlag(const QString &code);

private:
    mutable QList<QPixmap> m_list; // null until first asked for
    QList<TLanguageIcon> FLanguageIcons;
};
