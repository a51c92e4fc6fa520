#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageOccurence.h"

#include <gtest/gtest.h>

// File, line and component as read, "|"-separated; "error" when refused.
TEST(OccurenceParser, ReadsFieldsSplitAtColonsAndBlanksUnlessQuoted)
{
    const struct {
        const char *text;
        const char *read;
    } Cases[] = {
        {"uMain.pas:12", "uMain.pas|12|"},
        {"uMain.dfm:7:ButClose", "uMain.dfm|7|ButClose"},
        // Other field counts give an empty occurence.
        {"nocolon", "|0|"},
        {"", "|0|"},
        {"a:1:b:c", "|0|"},
        // Blanks separate fields: two fields, or three with no line number.
        {"no colon", "error"},
        {"my file.pas:3", "error"},
        {"\"my file.pas\":3", "my file.pas|3|"},
        {"  a.pas : 5 ", "a.pas|5|"},
        {"\"say \"\"hi\"\"\":1", "say \"hi\"|1|"},
        {"a.pas:x", "error"},
        {"a.pas::", "error"},
        {"a.pas:99999999999", "error"},
        {"a.pas:4:", "a.pas|4|"},
        {"f:2:\"x y", "f|2|x y"},
    };
    for (const auto &c : Cases) {
        QString read;
        try {
            const TOccurence o = TOccurence::Create(QString::fromUtf8(c.text));
            read = QStringLiteral("%1|%2|%3").arg(o.Filename).arg(o.Line).arg(o.Component);
        } catch (const LanguageError &) {
            read = QStringLiteral("error");
        }
        EXPECT_EQ(read, QString::fromUtf8(c.read)) << c.text;
    }
}

TEST(OccurenceList, GetTextJoinsWithoutFinalLineBreak)
{
    TOccurenceList List;
    EXPECT_EQ(List.GetText(), QString());
    List.append(TOccurence(QStringLiteral("a"), 1, QString()));
    List.append(TOccurence(QStringLiteral("b"), 2, QStringLiteral("c")));
    EXPECT_EQ(List.GetText(), QStringLiteral("a:1\r\nb:2:c"));
}
