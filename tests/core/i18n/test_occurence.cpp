#include "core/i18n/LanguageError.h"
#include "core/i18n/LanguageOccurence.h"

#include <gtest/gtest.h>

namespace {

void ExpectOccurence(const TOccurence &O, const QString &File, qint32 Line, const QString &Component)
{
    EXPECT_EQ(O.Filename, File);
    EXPECT_EQ(O.Line, Line);
    EXPECT_EQ(O.Component, Component);
}

} // namespace

TEST(OccurenceParser, FileAndLine)
{
    ExpectOccurence(TOccurence::Create(QStringLiteral("uMain.pas:12")), QStringLiteral("uMain.pas"), 12, QString());
}

TEST(OccurenceParser, ThirdFieldIsTheComponent)
{
    ExpectOccurence(TOccurence::Create(QStringLiteral("uMain.dfm:7:ButClose")), QStringLiteral("uMain.dfm"), 7,
                    QStringLiteral("ButClose"));
}

TEST(OccurenceParser, OtherFieldCountsGiveAnEmptyOccurence)
{
    ExpectOccurence(TOccurence::Create(QStringLiteral("nocolon")), QString(), 0, QString());
    ExpectOccurence(TOccurence::Create(QStringLiteral("single")), QString(), 0, QString());
    ExpectOccurence(TOccurence::Create(QString()), QString(), 0, QString());
    ExpectOccurence(TOccurence::Create(QStringLiteral("a:1:b:c")), QString(), 0, QString());
}

TEST(OccurenceParser, BlanksSeparateFieldsUnlessQuoted)
{
    EXPECT_THROW(TOccurence::Create(QStringLiteral("no colon")), LanguageError);
    // "my file.pas:3" is three fields, and "file.pas" is no line number
    EXPECT_THROW(TOccurence::Create(QStringLiteral("my file.pas:3")), LanguageError);
    ExpectOccurence(TOccurence::Create(QStringLiteral("\"my file.pas\":3")), QStringLiteral("my file.pas"), 3,
                    QString());
    ExpectOccurence(TOccurence::Create(QStringLiteral("  a.pas : 5 ")), QStringLiteral("a.pas"), 5, QString());
    ExpectOccurence(TOccurence::Create(QStringLiteral("\"say \"\"hi\"\"\":1")), QStringLiteral("say \"hi\""), 1,
                    QString());
}

TEST(OccurenceParser, NonNumericLineFails)
{
    EXPECT_THROW(TOccurence::Create(QStringLiteral("a.pas:x")), LanguageError);
    EXPECT_THROW(TOccurence::Create(QStringLiteral("a.pas::")), LanguageError);
    EXPECT_THROW(TOccurence::Create(QStringLiteral("a.pas:99999999999")), LanguageError);
}

TEST(OccurenceParser, TrailingDelimiterAddsAnEmptyField)
{
    ExpectOccurence(TOccurence::Create(QStringLiteral("a.pas:4:")), QStringLiteral("a.pas"), 4, QString());
}

TEST(OccurenceParser, UnterminatedQuoteTakesTheRest)
{
    ExpectOccurence(TOccurence::Create(QStringLiteral("f:2:\"x y")), QStringLiteral("f"), 2, QStringLiteral("x y"));
}

TEST(OccurenceList, GetTextJoinsWithoutFinalLineBreak)
{
    TOccurenceList List;
    EXPECT_EQ(List.GetText(), QString());
    List.append(TOccurence(QStringLiteral("a"), 1, QString()));
    List.append(TOccurence(QStringLiteral("b"), 2, QStringLiteral("c")));
    EXPECT_EQ(List.GetText(), QStringLiteral("a:1\r\nb:2:c"));
}
