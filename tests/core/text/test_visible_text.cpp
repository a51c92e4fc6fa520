// Text from outside reaches a terminal with its control characters shown,
// and a name that a text cannot carry is refused, never replaced.
#include "core/process/ProgramArguments.h"
#include "core/text/VisibleText.h"

#include <gtest/gtest.h>

TEST(VisibleText, ControlCharactersAndForeignBytesAreShown)
{
    const std::pair<QByteArray, const char *> cases[] = {
        {"plain \xc3\xbc \xe2\x9c\x93 \xf0\x9f\x98\x80 a\nb", "plain \xc3\xbc \xe2\x9c\x93 \xf0\x9f\x98\x80 a\nb"},
        {"\x1b]2;owned\x07\x1b[2J\x1b[8m", "\\x1b]2;owned\\x07\\x1b[2J\\x1b[8m"},
        {"\t\r\x1f \x7f\xc2\x9b\xc2\xa0", "\\x09\\x0d\\x1f \\x7f\\x9b\xc2\xa0"},
        {"bad\xff\xfe.cvn", "bad\\xff\\xfe.cvn"},
        {"\xc0\xaf \xed\xa0\x80 \xe2\x9c", "\\xc0\\xaf \\xed\\xa0\\x80 \\xe2\\x9c"},
    };
    for (const auto &[bytes, shown] : cases) {
        EXPECT_EQ(visibleBytes(bytes), QString::fromUtf8(shown)) << bytes.toHex().constData();
        if (QString::fromUtf8(bytes).toUtf8() == bytes) {
            EXPECT_EQ(visibleText(QString::fromUtf8(bytes)), QString::fromUtf8(shown));
        }
    }
}

TEST(ProgramArguments, NamesThatAreNoUtf8AreRefused)
{
    const char *good[] = {"corvane-cli", "load-profile", "Gr\xc3\xbc\xc3\x9f" "e.cvn"};
    QStringList arguments;
    QString error;
    ASSERT_TRUE(decodeArguments(3, good, &arguments, &error));
    EXPECT_EQ(arguments, QStringList({"corvane-cli", "load-profile", QStringLiteral("Grüße.cvn")}));

    const char *bad[] = {"corvane-cli", "load-profile", "bad\xff\xfe.cvn"};
    EXPECT_FALSE(decodeArguments(3, bad, &arguments, &error));
    EXPECT_EQ(error, QStringLiteral("\"bad\\xff\\xfe.cvn\" is not valid UTF-8; such a name cannot be used"));
}
