#include "LanguageTestSupport.h"

#include <QBuffer>

#include <gtest/gtest.h>

using namespace Qt::Literals::StringLiterals;

class LanguageProject : public ::testing::Test
{
protected:
    TLanguage *Lang(const QString &Code) { return Catalogue.FindLanguage(Code); }

    // en (primary) + de, one entry "Close" -> "Schliessen"
    std::unique_ptr<TProject> Sample()
    {
        auto P = std::make_unique<TProject>(u"Neues Projekt"_s, QList<TLanguage *>{Lang(u"en"_s), Lang(u"de"_s)});
        P->PrimaryLanguage = Lang(u"en"_s);
        TEntry *E = P->Entries.add(std::make_unique<TEntry>(u"Close"_s, P.get()));
        E->Translations = {TTranslation(Lang(u"en"_s), QString()), TTranslation(Lang(u"de"_s), u"Schliessen"_s)};
        return P;
    }

    TLanguageList Catalogue{true};
};

TEST_F(LanguageProject, WritesTheDocumentedExampleByteForByte)
{
    const QByteArray Expected =
        ProjectText({u"[settings]"_s, u"version=1"_s, u"name=Neues Projekt"_s, u"primarylanguage=en"_s, u""_s,
                     u"[languages]"_s, u"id=en"_s, u"id=de"_s, u""_s, u"[entries]"_s, u"text_id=Close"_s,
                     u"text_en="_s, u"text_de=Schliessen"_s, u""_s});
    EXPECT_EQ(Sample()->saveToBytes(false), Expected);
}

TEST_F(LanguageProject, RoundTripWithMetaData)
{
    auto P = Sample();
    P->ImportDir = u"C:\\Projekte"_s;
    P->ImportOpts = 7;
    P->IgnoreStrings = {u"a\r\nb"_s, u"c\nd"_s, u"e\rf"_s, u"x"_s};
    P->IgnoreFiles = {u"uDebug.pas"_s};
    TEntry *E = P->Entries.add(std::make_unique<TEntry>(u"Line\r\nbreak"_s, u"uMain.pas:7:ButX"_s, P.get()));
    E->Occurences.append(TOccurence(u"uMain.dfm"_s, 3, QString()));
    E->Translations = {TTranslation(Lang(u"de"_s), u"Zeilen\r\numbruch"_s), TTranslation(Lang(u"en"_s), QString())};

    const QByteArray Saved = P->saveToBytes(true);
    // Every line break inside a text is escaped, so a line-based reader of
    // the file sees one line per item.
    EXPECT_TRUE(Saved.contains(ProjectText({u"name=c\\nd"_s, u"name=e\\rf"_s})));
    TProject R(Saved, Catalogue);
    EXPECT_EQ(R.Name, P->Name);
    EXPECT_EQ(R.PrimaryLanguage, P->PrimaryLanguage);
    EXPECT_EQ(R.Languages.list(), P->Languages.list());
    EXPECT_EQ(R.ImportDir, P->ImportDir);
    EXPECT_EQ(R.ImportOpts, 7);
    EXPECT_EQ(R.IgnoreStrings, P->IgnoreStrings);
    EXPECT_EQ(R.IgnoreFiles, P->IgnoreFiles);
    ASSERT_EQ(R.Entries.count(), 2);
    const TEntry *RE = R.Entries.Items(1);
    EXPECT_EQ(RE->Name, E->Name);
    EXPECT_EQ(RE->Occurences.GetText(), u"uMain.pas:7:ButX\r\nuMain.dfm:3"_s);
    ASSERT_EQ(RE->Translations.size(), 2);
    EXPECT_EQ(RE->Translations.at(0).Language->ID, u"de"_s);
    EXPECT_EQ(RE->Translations.at(0).Translation, u"Zeilen\r\numbruch"_s);
    EXPECT_EQ(R.saveToBytes(true), Saved);
}

TEST_F(LanguageProject, WithoutMetaDataOptionsAndOccurencesAreLeftOut)
{
    auto P = Sample();
    P->IgnoreStrings = {u"x"_s};
    P->Entries.Items(0)->Occurences.append(TOccurence(u"a"_s, 1, QString()));
    TProject R(P->saveToBytes(false), Catalogue);
    EXPECT_TRUE(R.IgnoreStrings.isEmpty());
    EXPECT_TRUE(R.Entries.Items(0)->Occurences.isEmpty());
}

TEST_F(LanguageProject, SaveClearsChangedWithoutNotifying)
{
    auto P = Sample();
    int Calls = 0;
    P->OnChanged = [&Calls](TProject *) { ++Calls; };
    P->setChanged();
    EXPECT_TRUE(P->Changed());
    EXPECT_EQ(Calls, 1);
    P->saveToBytes(false);
    EXPECT_FALSE(P->Changed());
    EXPECT_EQ(Calls, 1);
}

TEST_F(LanguageProject, RefusesWhatCouldNotBeReadBack)
{
    auto P = Sample();
    P->PrimaryLanguage = nullptr;
    EXPECT_THROW(P->saveToBytes(false), LanguageError);

    P = Sample();
    P->RemoveLanguage(Lang(u"en"_s));
    EXPECT_THROW(P->saveToBytes(false), LanguageError);

    P = Sample();
    P->Name = u"two\r\nlines"_s;
    EXPECT_THROW(P->saveToBytes(false), LanguageError);

    // Settings written only with the meta data are refused only then.
    P = Sample();
    P->ImportDir = u"C:\\\r\nx"_s;
    EXPECT_NO_THROW(P->saveToBytes(false));
    EXPECT_THROW(P->saveToBytes(true), LanguageError);
    P = Sample();
    P->IgnoreFiles = {u"a.pas"_s, u"b\n.pas"_s};
    EXPECT_THROW(P->saveToBytes(true), LanguageError);
}

TEST_F(LanguageProject, FailingStreamIsReported)
{
    auto P = Sample();
    QBuffer ReadOnly;
    ReadOnly.open(QIODevice::ReadOnly);
    EXPECT_THROW(P->Save(ReadOnly, false), LanguageError);
}

TEST_F(LanguageProject, AddLanguageAppendsEmptyTranslationsOnce)
{
    auto P = Sample();
    P->AddLanguage(Lang(u"fr"_s));
    EXPECT_TRUE(P->Changed());
    ASSERT_EQ(P->Entries.Items(0)->Translations.size(), 3);
    EXPECT_EQ(TranslationOf(*P->Entries.Items(0), u"fr"_s), QString());

    P->saveToBytes(false);
    int Calls = 0;
    P->OnChanged = [&Calls](TProject *) { ++Calls; };
    P->AddLanguage(Lang(u"fr"_s));
    EXPECT_TRUE(P->Changed());
    EXPECT_EQ(Calls, 0);
    EXPECT_EQ(P->Languages.count(), 3);
    EXPECT_EQ(P->Entries.Items(0)->Translations.size(), 3);
}

TEST_F(LanguageProject, RemoveLanguageDropsItsTranslations)
{
    auto P = Sample();
    P->Entries.Items(0)->Translations.append(TTranslation(Lang(u"de"_s), u"zweite"_s));
    P->RemoveLanguage(Lang(u"de"_s));
    EXPECT_TRUE(P->Changed());
    EXPECT_EQ(P->Languages.count(), 1);
    ASSERT_EQ(P->Entries.Items(0)->Translations.size(), 1);
    EXPECT_EQ(P->Entries.Items(0)->Translations.at(0).Language->ID, u"en"_s);
}

TEST_F(LanguageProject, DuplicatedLanguageIsWrittenTwice)
{
    TProject P(ProjectText(MinimalProject({u"text_id=x"_s}) << u"[languages]"_s << u"id=de"_s), Catalogue);
    EXPECT_TRUE(P.saveToBytes(false).contains(ProjectText({u"id=de"_s, u"id=de"_s})));
}

TEST_F(LanguageProject, EntryConstructorsCopyWhatTheySay)
{
    auto P = Sample();
    TEntry *Source = P->Entries.Items(0);
    Source->Occurences.append(TOccurence(u"a"_s, 1, u"c"_s));

    TEntry Copy(*Source, P.get());
    EXPECT_EQ(Copy.Hash, entryHash(u"Close"_s));
    EXPECT_EQ(Copy.Occurences.GetText(), u"a:1:c"_s);
    EXPECT_EQ(TranslationOf(Copy, u"de"_s), u"Schliessen"_s);

    TLanguageList Languages;
    Languages.add(Lang(u"fr"_s));
    Languages.add(Lang(u"it"_s));
    TEntry Empty(*Source, Languages, P.get());
    ASSERT_EQ(Empty.Translations.size(), 2);
    EXPECT_EQ(Empty.Translations.at(1).Language->ID, u"it"_s);
    EXPECT_EQ(Empty.Translations.at(1).Translation, QString());
    EXPECT_EQ(Empty.Occurences.size(), 1);

    EXPECT_THROW(TEntry(u"x"_s, u"a:b"_s, P.get()), LanguageError);
}

TEST_F(LanguageProject, UpdateFromTakesNameOccurencesAndHash)
{
    auto P = Sample();
    TEntry Target(u"Old"_s, P.get());
    Target.Occurences.append(TOccurence(u"old"_s, 1, QString()));
    TEntry Source(u"New"_s, u"new.pas:2"_s, nullptr);
    Target.UpdateFrom(Source);
    EXPECT_EQ(Target.Name, u"New"_s);
    EXPECT_EQ(Target.Hash, entryHash(u"New"_s));
    EXPECT_EQ(Target.Occurences.GetText(), u"new.pas:2"_s);
    Target.SetOccurences(Target);
    EXPECT_EQ(Target.Occurences.size(), 1);
}

TEST_F(LanguageProject, IsFullyTranslated)
{
    auto P = Sample();
    TEntry *E = P->Entries.Items(0);
    EXPECT_TRUE(E->IsFullyTranslated()); // the empty English one does not count
    E->Translations[1].Translation = u"Close"_s;
    EXPECT_FALSE(E->IsFullyTranslated());
    E->Translations[1].Translation = u" \r\n"_s;
    EXPECT_FALSE(E->IsFullyTranslated());
    EXPECT_FALSE(TEntry(u"free"_s, nullptr).IsFullyTranslated());
}

TEST_F(LanguageProject, IndonesianLinesReadBackAsNewEntries)
{
    // Kept as files have always been written: "text_id=" is also the entry key.
    auto P = Sample();
    P->AddLanguage(Lang(u"id"_s));
    const QByteArray Saved = P->saveToBytes(false);
    TProject R(Saved, Catalogue);
    EXPECT_EQ(R.Entries.count(), 2);
}
