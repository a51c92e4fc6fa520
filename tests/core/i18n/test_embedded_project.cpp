#include "LanguageTestSupport.h"

#include "core/i18n/EmbeddedTexts.h"
#include "core/i18n/LanguageManager.h"
#include "core/i18n/TranslateText.h"

#include <QFile>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

static const QString ResourcePath = u":/i18n/VOXTRALANGNEUES PROJEKT"_s;

class EmbeddedProject : public ::testing::Test
{
protected:
    void SetUp() override
    {
        initLocalisation();
        ASSERT_TRUE(LanguageManager);
        // The fixed project and the one of texts added since.
        ASSERT_EQ(LanguageManager->projects().size(), 2u);
    }
    void TearDown() override { shutdownLocalisation(); }

    static QByteArray ResourceBytes()
    {
        QFile File(ResourcePath);
        EXPECT_TRUE(File.open(QIODevice::ReadOnly));
        return File.readAll();
    }
};

TEST_F(EmbeddedProject, WritingItBackReproducesItByteForByte)
{
    const QByteArray Original = ResourceBytes();
    TProject P(Original, *SystemLanguages);
    EXPECT_EQ(P.saveToBytes(false), Original);
}

TEST_F(EmbeddedProject, HoldsEnglishAndGermanWithEightyEntries)
{
    const TProject &P = *LanguageManager->projects().front();
    EXPECT_EQ(P.Name, u"Neues Projekt"_s);
    ASSERT_EQ(P.Languages.count(), 2);
    EXPECT_EQ(P.Languages.Items(0)->ID, u"en"_s);
    EXPECT_EQ(P.Languages.Items(1)->ID, u"de"_s);
    EXPECT_EQ(P.PrimaryLanguage, P.Languages.Items(0));
    ASSERT_EQ(P.Entries.count(), 80);
    EXPECT_EQ(P.Entries.Items(30)->Name, u" CONFIGURATION"_s);
    EXPECT_EQ(TranslationOf(*P.Entries.Items(30), u"de"_s), u"KONFIGURATION"_s);
    EXPECT_EQ(TranslationOf(*P.Entries.Items(54), u"de"_s), u"Konfigurationsprogramm  "_s);
    int NonEmptyEnglish = 0;
    for (const auto &E : P.Entries)
        NonEmptyEnglish += TranslationOf(*E, u"en"_s).isEmpty() ? 0 : 1;
    EXPECT_EQ(NonEmptyEnglish, 1);
}

TEST_F(EmbeddedProject, GermanLookups)
{
    LanguageManager->SetLanguage(u"de"_s);
    EXPECT_EQ(TranslateText(u"Close"_s), u"Schliessen"_s);
    EXPECT_EQ(TranslateText(u" COLOR ORDER"_s), u" FARB REIHENF."_s);
    EXPECT_EQ(TranslateText(u"File ID unknown"_s), u"File ID unknown"_s);
    EXPECT_EQ(TranslateText(u"Top-Left\r\nTop-Right\r\nBottom-Left\r\nBottom-Right\r\n"_s),
              u"Oben-Links\r\nOben-Rechts\r\nUnten-Links\r\nUnten-Rechts\r\n"_s);
    EXPECT_EQ(TranslateText(u"Linewise\r\nSnake lines\r\nColumnwise\r\nSnake columns\r\n"_s),
              u"Zeilenweise\r\nZeilen in Schlangen\r\nSpaltenweise\r\nSpalten in Schlangen"_s);
    EXPECT_TRUE(TranslateText(AboutInfoText).startsWith(u"Konfigurationsprogramm für<br><b>CORVANE</b>"_s));
    EXPECT_EQ(TranslateText(u"not in the project"_s), u"not in the project"_s);
    // Texts added since come from the second project.
    EXPECT_TRUE(TranslateText(u"Plug in a CORVANE: it is found the moment it is connected.\r\nAccess to it needs the "
                              u"udev rule 70-corvane.rules.\r\nTo try the program without a controller, start it "
                              u"with --simulate."_s)
                    .startsWith(u"Schliessen Sie einen CORVANE an"_s));
}

TEST_F(EmbeddedProject, EnglishShowsTheIdentifiersExceptTheAboutText)
{
    LanguageManager->SetLanguage(u"en"_s);
    EXPECT_EQ(TranslateText(u"Close"_s), u"Close"_s);
    const QString About = TranslateText(AboutInfoText);
    EXPECT_NE(About, AboutInfoText);
    EXPECT_TRUE(About.startsWith(u"Configuration tool for<br><b>CORVANE</b><br><br>"_s));
}

TEST_F(EmbeddedProject, StartsInEnglishWithBothLanguagesAvailable)
{
    // CTest sets LANGUAGE=en; the catalogue lists English before German.
    EXPECT_EQ(LanguageManager->CurrentLanguage->ID, u"en"_s);
    QStringList Available;
    for (const TLanguage *L : *SystemLanguages) {
        if (L->Available)
            Available << L->ID;
    }
    EXPECT_EQ(Available, (QStringList{u"en"_s, u"de"_s}));
}
