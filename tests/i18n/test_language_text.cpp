#include "i18n/LanguageText.h"

#include <gtest/gtest.h>

TEST(EntryHash, MatchesTheElfHashOfTheCodeUnits)
{
    EXPECT_EQ(EntryHash(QString()), 0u);
    EXPECT_EQ(EntryHash(QStringLiteral("A")), 0x41u);
    EXPECT_EQ(EntryHash(QStringLiteral("AB")), 0x41u * 16 + 0x42u);
    // Long enough for the top bits to fold back in.
    EXPECT_EQ(EntryHash(QStringLiteral("abcdefghijklmnop")), 0x0bb9a310u);
}

TEST(EntryHash, CountsEveryCharacterIncludingBlanksAndCase)
{
    EXPECT_NE(EntryHash(QStringLiteral("Close")), EntryHash(QStringLiteral("close")));
    EXPECT_NE(EntryHash(QStringLiteral(" LAYOUT")), EntryHash(QStringLiteral("LAYOUT")));
    // Code units above Latin-1 are hashed whole.
    EXPECT_EQ(EntryHash(QStringLiteral(u"\u00DC")), 0xDCu);
    EXPECT_EQ(EntryHash(QStringLiteral(u"\u20AC")), 0x20ACu);
}

TEST(EntryHash, DifferentTextsCanShareAHash)
{
    // 16 * 'A' + 'Q' == 16 * 'B' + 'A'
    EXPECT_EQ(EntryHash(QStringLiteral("AQ")), EntryHash(QStringLiteral("BA")));
}

TEST(TextEscapes, LineBreaksBecomeEscapesAndBack)
{
    const QString Text = QStringLiteral("a\r\nb\nc\r");
    EXPECT_EQ(EscapeText(Text), QStringLiteral("a\\r\\nb\\nc\\r"));
    EXPECT_EQ(UnescapeText(EscapeText(Text)), Text);
}

TEST(TextEscapes, BackslashesAreNotEscaped)
{
    EXPECT_EQ(EscapeText(QStringLiteral("C:\\dir")), QStringLiteral("C:\\dir"));
    // so a literal "\n" comes back as a line break
    EXPECT_EQ(UnescapeText(QStringLiteral("x\\ny")), QStringLiteral("x\ny"));
}

TEST(BlankText, OnlyBlanksAndControlCharactersCount)
{
    EXPECT_TRUE(IsBlankText(QString()));
    EXPECT_TRUE(IsBlankText(QStringLiteral(" \t\r\n\x01")));
    EXPECT_FALSE(IsBlankText(QStringLiteral(u"\u00A0")));
    EXPECT_EQ(TrimControls(QStringLiteral("\r\n a b \x01")), QStringLiteral("a b"));
}
