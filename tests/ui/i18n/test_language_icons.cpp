#include "ui/i18n/LanguageIcons.h"

#include <QImage>
#include <gtest/gtest.h>

namespace {

QStringList lowerCase(const QStringList &codes)
{
    QStringList lower;
    for (const QString &c : codes)
        lower.append(c.toLower());
    return lower;
}

} // namespace

TEST(LanguageIconsTest, EveryFlagResourceIsA16x16ImageAtPixelRatio2)
{
    const QStringList names = TLanguageIcons::flagNames();
    EXPECT_EQ(names.size(), 241);
    EXPECT_TRUE(names.contains("EN"));
    EXPECT_TRUE(names.contains("DE"));
    TLanguageIcons icons(lowerCase(names));
    ASSERT_EQ(icons.icons().size(), 241);
    for (const TLanguageIcon &record : icons.icons()) {
        const QPixmap flag = icons.image(record.Index());
        EXPECT_EQ(flag.deviceIndependentSize().toSize(), QSize(16, 16));
        EXPECT_EQ(flag.size(), QSize(32, 32));
    }
}

TEST(LanguageIconsTest, RecordsFollowTheCatalogueAndSkipCodesWithoutFlag)
{
    // The flag's name ignores case; the recorded code compares exactly.
    TLanguageIcons icons({"de", "xx", "En", "", "../DE", "de-DE"});
    ASSERT_EQ(icons.icons().size(), 2);
    EXPECT_EQ(icons.GetIconIndex("de"), 0);
    EXPECT_EQ(icons.GetIconIndex("En"), 1);
    EXPECT_EQ(icons.GetIconIndex("en"), -1);
    EXPECT_EQ(icons.GetIconIndex("xx"), -1);
    EXPECT_EQ(icons.GetIconIndex("DE"), -1);
}

TEST(LanguageIconsTest, GermanFlagIsCentredWithTransparentRows)
{
    const QImage flag = TLanguageIcons::loadFlag("de").toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(flag.size(), QSize(32, 32));
    EXPECT_EQ(qAlpha(flag.pixel(16, 0)), 0);
    EXPECT_EQ(qAlpha(flag.pixel(16, 31)), 0);
    const QRgb middle = flag.pixel(16, 15);
    EXPECT_EQ(qAlpha(middle), 255);
    EXPECT_GT(qRed(middle), 2 * qGreen(middle)) << "the middle stripe is red";
    // Scaled without blur: every source pixel is a 2 x 2 block of one colour.
    for (int y = 0; y < 32; y += 2) {
        for (int x = 0; x < 32; x += 2) {
            const QRgb p = flag.pixel(x, y);
            EXPECT_TRUE(flag.pixel(x + 1, y) == p && flag.pixel(x, y + 1) == p && flag.pixel(x + 1, y + 1) == p)
                << x << "," << y;
        }
    }
}

TEST(LanguageIconsTest, CreateIconCopiesTheRecordedImage)
{
    TLanguageIcons icons({"fr", "de"});
    const QIcon icon = icons.CreateIcon("de");
    ASSERT_FALSE(icon.isNull());
    const QImage shown = icon.pixmap(QSize(16, 16), 2.0).toImage().convertToFormat(QImage::Format_ARGB32);
    const QImage listed = icons.image(1).toImage().convertToFormat(QImage::Format_ARGB32);
    EXPECT_EQ(shown, listed);
    // Unscaled, the icon shows the 16 x 16 original pixels, not a blurred mix.
    const QImage single = icon.pixmap(QSize(16, 16), 1.0).toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(single.size(), QSize(16, 16));
    EXPECT_EQ(single.pixel(5, 7), listed.pixel(10, 14));
    EXPECT_TRUE(icons.CreateIcon("es").isNull());
}
