#include "core/i18n/LanguageCatalogue.h"

#include <QLocale>
#include <QSet>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

TEST(LanguageCatalogue, HoldsUniqueLowerCaseTwoLetterCodes)
{
    const TLanguageList Catalogue(true);
    ASSERT_GT(Catalogue.count(), 100);
    QSet<QString> Seen;
    for (const TLanguage *L : Catalogue) {
        EXPECT_EQ(L->ID.size(), 2) << qPrintable(L->Name);
        EXPECT_EQ(L->ID, L->ID.toLower());
        EXPECT_FALSE(L->Name.contains(u'('));
        EXPECT_FALSE(L->Available);
        EXPECT_FALSE(Seen.contains(L->ID)) << qPrintable(L->ID);
        Seen.insert(L->ID);
    }
}

TEST(LanguageCatalogue, FollowsQtLanguageOrder)
{
    const TLanguageList Catalogue(true);
    for (qsizetype i = 1; i < Catalogue.count(); ++i)
        EXPECT_LT(Catalogue.Items(i - 1)->LCID, Catalogue.Items(i)->LCID);
    const TLanguage *German = Catalogue.FindLanguage(u"de"_s);
    const TLanguage *English = Catalogue.FindLanguage(u"en"_s);
    ASSERT_TRUE(German && English);
    EXPECT_EQ(German->Name, u"German"_s);
    EXPECT_EQ(English->Name, u"English"_s);
    EXPECT_EQ(German->LCID, quint32(QLocale::German));
    // Qt orders its language enum alphabetically by English name.
    EXPECT_LT(Catalogue.indexOf(English), Catalogue.indexOf(German));
}

TEST(LanguageCatalogue, FindLanguageByCodeIgnoresCaseButByLanguageDoesNot)
{
    const TLanguageList Catalogue(true);
    EXPECT_EQ(Catalogue.FindLanguage(u"DE"_s), Catalogue.FindLanguage(u"de"_s));
    EXPECT_EQ(Catalogue.FindLanguage(u"zz"_s), nullptr);
    EXPECT_EQ(Catalogue.findLanguageExact(u"DE"_s), nullptr);

    const TLanguage Upper(0, u"DE"_s, u"German"_s);
    const TLanguage Lower(0, u"de"_s, u"German"_s);
    EXPECT_EQ(Catalogue.FindLanguage(&Upper), nullptr);
    EXPECT_EQ(Catalogue.FindLanguage(&Lower), Catalogue.FindLanguage(u"de"_s));
}
