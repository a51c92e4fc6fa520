#include "core/i18n/LanguageText.h"

#include <gtest/gtest.h>

TEST(EntryHash, MatchesTheElfHashOfTheCodeUnits)
{
    EXPECT_EQ(entryHash(QString()), 0u);
    EXPECT_EQ(entryHash(QStringLiteral("A")), 0x41u);
    EXPECT_EQ(entryHash(QStringLiteral("AB")), 0x41u * 16 + 0x42u);
    // Long enough for the top bits to fold back in.
    EXPECT_EQ(entryHash(QStringLiteral("abcdefghijklmnop")), 0x0bb9a310u);
}

TEST(EntryHash, CountsEveryCharacterIncludingBlanksAndCase)
{
    EXPECT_NE(entryHash(QStringLiteral("Close")), entryHash(QStringLiteral("close")));
    EXPECT_NE(entryHash(QStringLiteral(" LAYOUT")), entryHash(QStringLiteral("LAYOUT")));
    // Code units above Latin-1 are hashed whole.
    EXPECT_EQ(entryHash(QStringLiteral(u"\u00DC")), 0xDCu);
    EXPECT_EQ(entryHash(QStringLiteral(u"\u20AC")), 0x20ACu);
}

TEST(EntryHash, DifferentTextsCanShareAHash)
{
    // 16 * 'A' + 'Q' == 16 * 'B' + 'A'
    EXPECT_EQ(entryHash(QStringLiteral("AQ")), entryHash(QStringLiteral("BA")));
}
