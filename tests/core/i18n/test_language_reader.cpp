#include "LanguageTestSupport.h"

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

class LanguageReader : public ::testing::Test
{
protected:
    std::unique_ptr<TProject> Read(const QStringList &Lines) { return Read(ProjectText(Lines)); }
    std::unique_ptr<TProject> Read(const QByteArray &Bytes) { return std::make_unique<TProject>(Bytes, Catalogue); }
    QString Codes(const TProject &P)
    {
        QStringList Ids;
        for (const TLanguage *L : P.Languages)
            Ids << L->ID;
        return Ids.join(u',');
    }

    TLanguageList Catalogue{true};
};

TEST_F(LanguageReader, ReadsTheDocumentedExample)
{
    const auto P = Read({u"[settings]"_s, u"version=1"_s, u"name=Neues Projekt"_s, u"primarylanguage=en"_s, u""_s,
                         u"[languages]"_s, u"id=en"_s, u"id=de"_s, u""_s, u"[entries]"_s, u"text_id=Close"_s,
                         u"text_en="_s, u"text_de=Schliessen"_s, u""_s});
    EXPECT_EQ(P->Name, u"Neues Projekt"_s);
    EXPECT_EQ(P->FileType, TFileTypes::ftProject);
    EXPECT_FALSE(P->Changed());
    EXPECT_EQ(Codes(*P), u"en,de"_s);
    ASSERT_NE(P->PrimaryLanguage, nullptr);
    EXPECT_EQ(P->PrimaryLanguage, Catalogue.FindLanguage(u"en"_s));
    ASSERT_EQ(P->Entries.count(), 1);
    const TEntry *E = P->Entries.Items(0);
    EXPECT_EQ(E->Name, u"Close"_s);
    EXPECT_EQ(E->Hash, entryHash(u"Close"_s));
    EXPECT_EQ(E->FProject, P.get());
    EXPECT_EQ(TranslationOf(*E, u"de"_s), u"Schliessen"_s);
}

TEST_F(LanguageReader, UnescapesNamesAndTranslations)
{
    const auto P = Read(MinimalProject({u"text_id=a\\r\\nb"_s, u"text_de=c\\nd"_s}));
    EXPECT_EQ(P->Entries.Items(0)->Name, u"a\r\nb"_s);
    EXPECT_EQ(TranslationOf(*P->Entries.Items(0), u"de"_s), u"c\nd"_s);
}

TEST_F(LanguageReader, MissingPrimaryLanguageFails)
{
    EXPECT_THROW(Read({u"[languages]"_s, u"id=en"_s}), LanguageError);
    try {
        Read({u"[settings]"_s, u"primarylanguage=fr"_s, u"[languages]"_s, u"id=en"_s});
        FAIL();
    } catch (const LanguageError &E) {
        EXPECT_EQ(E.message(), u"No primary language could be found"_s);
    }
}

TEST_F(LanguageReader, LastLineWithoutLineEndIsNotRead)
{
    QByteArray Bytes = ProjectText({u"[languages]"_s, u"id=en"_s, u"[settings]"_s});
    Bytes += ProjectText({u"primarylanguage=en"_s}).chopped(4);
    EXPECT_THROW(Read(Bytes), LanguageError);
    EXPECT_NO_THROW(Read(Bytes + QByteArray("\x0D\x00\x0A\x00", 4)));
}

TEST_F(LanguageReader, ByteOrderMarkHidesTheFirstHeader)
{
    const QByteArray Bom("\xFF\xFE", 2);
    const QByteArray Body = ProjectText(MinimalProject({u"text_id=x"_s}));
    EXPECT_THROW(Read(Bom + Body), LanguageError);
    // Only the settings before the next header are lost.
    const auto P = Read(Bom + ProjectText({u"[settings]"_s, u"name=Lost"_s, u"primarylanguage=fr"_s,
                                           u"[languages]"_s, u"id=de"_s, u"[settings]"_s,
                                           u"primarylanguage=de"_s}));
    EXPECT_EQ(P->Name, QString());
    EXPECT_EQ(P->PrimaryLanguage->ID, u"de"_s);
}

TEST_F(LanguageReader, HeadersAndKeysIgnoreCase)
{
    const auto P = Read({u"[Settings]"_s, u"NAME=Big"_s, u"PrimaryLanguage=en"_s, u"[LANGUAGES]"_s, u"ID=en"_s,
                         u"[ENTRIES]"_s, u"TEXT_ID=Yes"_s, u"Text_de=Ja"_s, u"text_DE=ignored"_s});
    EXPECT_EQ(P->Name, u"Big"_s);
    ASSERT_EQ(P->Entries.count(), 1);
    const TEntry *E = P->Entries.Items(0);
    EXPECT_EQ(E->Translations.size(), 2); // de from its line, en filled in
    EXPECT_EQ(TranslationOf(*E, u"de"_s), u"Ja"_s);
}

TEST_F(LanguageReader, IndentedHeaderIsNotAHeader)
{
    const auto P = Read({u"[settings]"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s,
                         u" [settings]"_s, u"id=de"_s});
    EXPECT_EQ(Codes(*P), u"en,de"_s);
}

TEST_F(LanguageReader, EmptyLinesAndStrayLinesAreSkipped)
{
    QByteArray Bytes = ProjectText({u"before any section"_s, u""_s, u""_s});
    Bytes += ProjectText(MinimalProject({u"junk"_s, u"text_de=no entry yet"_s, u"text_id=A"_s}));
    const auto P = Read(Bytes);
    ASSERT_EQ(P->Entries.count(), 1);
    EXPECT_EQ(P->Entries.Items(0)->Translations.size(), 2);
}

TEST_F(LanguageReader, EntryWithoutTranslationsIsDroppedUnlessLast)
{
    const auto P = Read(MinimalProject({u"text_id=gone"_s, u"text_id=kept"_s, u"text_de=da"_s, u"text_id=last"_s}));
    ASSERT_EQ(P->Entries.count(), 2);
    EXPECT_EQ(P->Entries.Items(0)->Name, u"kept"_s);
    EXPECT_EQ(P->Entries.Items(1)->Name, u"last"_s);
    EXPECT_EQ(TranslationOf(*P->Entries.Items(1), u"en"_s), QString());
    EXPECT_EQ(P->Entries.Items(1)->Translations.size(), 2);
}

TEST_F(LanguageReader, TranslationForAnUnlistedLanguageAddsIt)
{
    const auto P = Read(MinimalProject({u"text_id=Yes"_s, u"text_fr=Oui"_s, u"text_xx=?"_s}));
    EXPECT_EQ(Codes(*P), u"en,de,fr"_s);
    const TEntry *E = P->Entries.Items(0);
    ASSERT_EQ(E->Translations.size(), 3);
    // file order first, then the missing project languages in project order
    EXPECT_EQ(E->Translations.at(0).Language->ID, u"fr"_s);
    EXPECT_EQ(E->Translations.at(1).Language->ID, u"en"_s);
    EXPECT_EQ(E->Translations.at(2).Language->ID, u"de"_s);
}

TEST_F(LanguageReader, PrimaryCodeIsCutToTwoCharacters)
{
    const auto P = Read({u"[settings]"_s, u"primarylanguage=english"_s, u"[languages]"_s, u"id=en"_s});
    ASSERT_NE(P->PrimaryLanguage, nullptr);
    EXPECT_EQ(P->PrimaryLanguage->ID, u"en"_s);
    EXPECT_THROW(Read({u"[settings]"_s, u"primarylanguage=e"_s, u"[languages]"_s, u"id=en"_s}), LanguageError);
}

TEST_F(LanguageReader, LanguageCodesMustBeTwoLowerCaseLetters)
{
    const auto P = Read({u"[settings]"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s, u"id=DE"_s,
                         u"id=deu"_s, u"id=zz"_s, u"code=fr"_s});
    EXPECT_EQ(Codes(*P), u"en"_s);
}

TEST_F(LanguageReader, DuplicatedLanguagesAndTranslationsAreKept)
{
    const auto P = Read(MinimalProject({u"text_id=x"_s, u"text_de=eins"_s, u"text_de=zwei"_s}) << u"[languages]"_s
                                                                                           << u"id=de"_s);
    EXPECT_EQ(Codes(*P), u"en,de,de"_s);
    const TEntry *E = P->Entries.Items(0);
    ASSERT_EQ(E->Translations.size(), 3);
    EXPECT_EQ(E->Translations.at(0).Translation, u"eins"_s);
    EXPECT_EQ(E->Translations.at(1).Translation, u"zwei"_s);
}

TEST_F(LanguageReader, SettingsOptionsAndIgnoreLists)
{
    const auto P = Read({u"[settings]"_s, u"name=first"_s, u"name=second"_s, u"primarylanguage=en"_s,
                         u"[options]"_s, u"importdir= C:\\src "_s, u"importopts=7"_s, u"[ignorestrings]"_s,
                         u"name=a\\nb"_s, u"name=  "_s, u"[ignorefiles]"_s, u"name=x.pas"_s, u"name="_s,
                         u"[languages]"_s, u"id=en"_s});
    EXPECT_EQ(P->Name, u"second"_s);
    EXPECT_EQ(P->ImportDir, u" C:\\src "_s);
    EXPECT_EQ(P->ImportOpts, 7);
    EXPECT_EQ(P->IgnoreStrings, QStringList{u"a\nb"_s});
    EXPECT_EQ(P->IgnoreFiles, QStringList{u"x.pas"_s});
}

TEST_F(LanguageReader, ImportOptsTakesOneDigit)
{
    auto ImportOpts = [this](const QString &Value) {
        return Read({u"[settings]"_s, u"primarylanguage=en"_s, u"[languages]"_s, u"id=en"_s, u"[options]"_s,
                     u"importopts="_s + Value})
            ->ImportOpts;
    };
    EXPECT_EQ(ImportOpts(u"7"_s), 7);
    EXPECT_EQ(ImportOpts(u"12"_s), 1);
    EXPECT_EQ(ImportOpts(u"x"_s), 0);
    EXPECT_EQ(ImportOpts(u""_s), 0);
}

TEST_F(LanguageReader, Occurences)
{
    const auto P = Read(MinimalProject({u"occurence=orphan.pas:1"_s, u"text_id=x"_s, u"occurence=a.pas:12"_s,
                                        u"occurance=b.dfm:3:Lab"_s, u"occurence=c.pas:zwölf"_s,
                                        u"occurence=nocolon"_s}));
    const TOccurenceList &O = P->Entries.Items(0)->Occurences;
    ASSERT_EQ(O.size(), 3);
    EXPECT_EQ(O.at(0).GetString(), u"a.pas:12"_s);
    EXPECT_EQ(O.at(1).GetString(), u"b.dfm:3:Lab"_s);
    EXPECT_EQ(O.at(2).GetString(), u":0"_s);
}

TEST_F(LanguageReader, IndonesianTranslationLinesStartEntries)
{
    // "text_id=" always starts an entry, so Indonesian cannot be read back.
    const auto P = Read(MinimalProject({u"text_id=x"_s, u"text_de=y"_s, u"text_id=Indonesian"_s}));
    ASSERT_EQ(P->Entries.count(), 2);
    EXPECT_EQ(P->Entries.Items(1)->Name, u"Indonesian"_s);
}

TEST_F(LanguageReader, LineEndsAreFoundAtOddOffsets)
{
    // A stray byte shifts the rest of the file by one; the byte-wise search
    // still finds every CR LF, so only the line holding the stray byte is lost.
    QByteArray Bytes = ProjectText({u"[settings]"_s});
    Bytes += QByteArray("\x41", 1) + ProjectText({u"name=lost"_s, u"primarylanguage=en"_s, u"[languages]"_s,
                                                  u"id=en"_s});
    const auto P = Read(Bytes);
    EXPECT_EQ(P->Name, QString());
    EXPECT_EQ(P->PrimaryLanguage->ID, u"en"_s);
}

TEST_F(LanguageReader, NulEndsTheLineText)
{
    QByteArray Bytes = ProjectText({u"[settings]"_s});
    Bytes += ProjectText({u"primarylanguage=en"_s}).chopped(4) + QByteArray("\0\0xxxx", 6) +
             QByteArray("\x0D\x00\x0A\x00", 4);
    Bytes += ProjectText({u"[languages]"_s, u"id=en"_s});
    EXPECT_NO_THROW(Read(Bytes));
}

TEST_F(LanguageReader, OddLengthAndEmptyInputAreHandled)
{
    EXPECT_THROW(Read(QByteArray()), LanguageError);
    EXPECT_THROW(Read(QByteArray("\x0D\x00\x0A", 3)), LanguageError);
    EXPECT_THROW(Read(QByteArray("a\x0D\x00\x0A\x00", 5)), LanguageError);
}
