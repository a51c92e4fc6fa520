// Text from outside reaches a terminal with its control characters shown,
// and a name that a text cannot carry is refused, never replaced.
#include "core/process/ProgramArguments.h"
#include "core/text/VisibleText.h"

#include <gtest/gtest.h>

TEST(VisibleText, ControlCharactersAndForeignBytesAreShown)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"plain \xc3\xbc \xe2\x9c\x93 \xf0\x9f\x98\x80 a\nb", "plain \xc3\xbc \xe2\x9c\x93 \xf0\x9f\x98\x80 a\nb"},
        {"\x1b]2;owned\x07\t\r\x1f \x7f\xc2\x9b\xc2\xa0", "\\x1b]2;owned\\x07\\x09\\x0d\\x1f \\x7f\\x9b\xc2\xa0"},
        {"bad\xff\xfe \xc0\xaf \xed\xa0\x80 \xe2\x9c", "bad\\xff\\xfe \\xc0\\xaf \\xed\\xa0\\x80 \\xe2\\x9c"},
    };
    for (const auto &[bytes, shown] : cases)
        EXPECT_EQ(visibleBytes(bytes), QString::fromUtf8(shown)) << bytes.toHex().constData();
    EXPECT_EQ(visibleText(QString::fromUtf8(cases[1].first)), QString::fromUtf8(cases[1].second));
}

TEST(ProgramArguments, NamesThatAreNoUtf8AreRefused)
{
    const char *good[] = {"corvane-cli", "Gr\xc3\xbc\xc3\x9f" "e.cvn"};
    const char *bad[] = {"corvane-cli", "bad\xff\xfe.cvn"};
    QStringList arguments;
    QString error;
    ASSERT_TRUE(decodeArguments(2, good, &arguments, &error));
    EXPECT_EQ(arguments, QStringList({"corvane-cli", QStringLiteral("Grüße.cvn")}));
    EXPECT_FALSE(decodeArguments(2, bad, &arguments, &error));
    EXPECT_EQ(error, QStringLiteral("\"bad\\xff\\xfe.cvn\" is not valid UTF-8; such a name cannot be used"));
}
