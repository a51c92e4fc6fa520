#include "core/i18n/LanguageText.h"

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
