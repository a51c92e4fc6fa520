#include "LanguageTestSupport.h"

#include "core/i18n/LanguageManager.h"
#include "core/i18n/TranslateText.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

using namespace Qt::Literals::StringLiterals;

// Each test gets its own catalogue and a folder standing in for the
// program's resources, so Available flags never leak between tests.
class LanguageManagerTest : public ::testing::Test
{
protected:
    void AddProject(const QString &FileName, const QStringList &Lines)
    {
        QFile File(Dir.filePath(FileName));
        ASSERT_TRUE(File.open(QIODevice::WriteOnly));
        File.write(ProjectText(Lines));
    }
    static QStringList Project(const QString &Primary, const QStringList &Codes, const QStringList &Entries = {})
    {
        QStringList Lines{u"[settings]"_s, u"primarylanguage="_s + Primary, u"[languages]"_s};
        for (const QString &Code : Codes)
            Lines << u"id="_s + Code;
        return Lines << u"[entries]"_s << Entries;
    }
    std::unique_ptr<TLanguageManager> Create(const QString &UiLanguage = u"xx"_s)
    {
        return std::make_unique<TLanguageManager>(Catalogue, Dir.path(), [UiLanguage] { return UiLanguage; });
    }
    QString Current(const TLanguageManager &M) { return M.CurrentLanguage ? M.CurrentLanguage->ID : u"<none>"_s; }

    TLanguageList Catalogue{true};
    QTemporaryDir Dir;
};

TEST_F(LanguageManagerTest, LoadsOnlyFilesNamedVoxtralang)
{
    AddProject(u"VOXTRALANGA"_s, Project(u"en"_s, {u"en"_s, u"de"_s}));
    AddProject(u"voxtralangB"_s, Project(u"fr"_s, {u"fr"_s}));
    AddProject(u"OTHER"_s, Project(u"it"_s, {u"it"_s}));
    const auto M = Create();
    EXPECT_EQ(M->projects().size(), 1u);
    EXPECT_TRUE(Catalogue.FindLanguage(u"de"_s)->Available);
    EXPECT_FALSE(Catalogue.FindLanguage(u"fr"_s)->Available);
}

TEST_F(LanguageManagerTest, UserLanguageWinsWhenAProjectOffersIt)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"fr"_s, u"en"_s, u"de"_s}));
    EXPECT_EQ(Current(*Create(u"de"_s)), u"de"_s);
    EXPECT_EQ(Current(*Create(u"DE"_s)), u"de"_s);
    EXPECT_EQ(Current(*Create(u"de-AT"_s)), u"de"_s);
    EXPECT_EQ(Current(*Create(u"de_CH"_s)), u"de"_s);
}

TEST_F(LanguageManagerTest, EnglishComesBeforeTheFirstLanguage)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"fr"_s, {u"fr"_s, u"en"_s}));
    const auto M = Create(u"it"_s);
    EXPECT_EQ(Current(*M), u"en"_s);
    // the user's language is remembered even when no project offers it
    ASSERT_NE(M->CurrentUserLanguage(), nullptr);
    EXPECT_EQ(M->CurrentUserLanguage()->ID, u"it"_s);
}

TEST_F(LanguageManagerTest, FirstLanguageOfTheFirstProjectIsTheFallback)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"fr"_s, {u"fr"_s, u"it"_s}));
    AddProject(u"VOXTRALANG2"_s, Project(u"es"_s, {u"es"_s}));
    const auto M = Create(u"english"_s); // not a two-letter code: ignored
    EXPECT_EQ(Current(*M), u"fr"_s);
    EXPECT_EQ(M->CurrentUserLanguage(), nullptr);
}

TEST_F(LanguageManagerTest, UnreadableProjectLeavesNoProjects)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s}, {u"text_id=Yes"_s}));
    AddProject(u"VOXTRALANG2"_s, {u"[languages]"_s, u"id=en"_s});
    const auto M = Create();
    EXPECT_TRUE(M->projects().empty());
    EXPECT_EQ(M->CurrentLanguage, nullptr);
    EXPECT_EQ(M->Get(u"Yes"_s), u"Yes"_s);
    EXPECT_THROW(M->DetermineLanguage(), LanguageError);
}

TEST_F(LanguageManagerTest, NoProjectsAtAll)
{
    const auto M = Create();
    EXPECT_TRUE(M->projects().empty());
    EXPECT_EQ(M->Get(u"Close"_s), u"Close"_s);
    EXPECT_EQ(M->Get(QString()), QString());
}

TEST_F(LanguageManagerTest, GetTranslatesIntoTheCurrentLanguage)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s},
                                         {u"text_id=Close"_s, u"text_en="_s, u"text_de=Schliessen"_s,
                                          u"text_id=Empty"_s, u"text_de="_s}));
    const auto M = Create(u"de"_s);
    EXPECT_EQ(M->Get(u"Close"_s), u"Schliessen"_s);
    EXPECT_EQ(M->Get(u"Empty"_s), u"Empty"_s);
    EXPECT_EQ(M->Get(u"close"_s), u"close"_s);
    M->SetLanguage(u"EN"_s);
    EXPECT_EQ(M->Get(u"Close"_s), u"Close"_s);
    M->SetLanguage(u"zz"_s);
    EXPECT_EQ(Current(*M), u"en"_s);
}

TEST_F(LanguageManagerTest, LaterProjectsOverrideEarlierOnes)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Ja"_s}));
    AddProject(u"VOXTRALANG2"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Jawohl"_s}));
    EXPECT_EQ(Create(u"de"_s)->Get(u"Yes"_s), u"Jawohl"_s);
}

TEST_F(LanguageManagerTest, TextsSharingAHashKeepTheirOwnTranslations)
{
    ASSERT_EQ(entryHash(u"AQ"_s), entryHash(u"BA"_s));
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=AQ"_s, u"text_de=erster"_s}));
    auto M = Create(u"de"_s);
    EXPECT_EQ(M->Get(u"AQ"_s), u"erster"_s);
    EXPECT_EQ(M->Get(u"BA"_s), u"BA"_s);

    AddProject(u"VOXTRALANG2"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=BA"_s, u"text_de=zweiter"_s}));
    M = Create(u"de"_s);
    EXPECT_EQ(M->Get(u"AQ"_s), u"erster"_s);
    EXPECT_EQ(M->Get(u"BA"_s), u"zweiter"_s);
}

TEST_F(LanguageManagerTest, LookUpsFromSeveralThreadsAgree)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Ja"_s}));
    const auto M = Create(u"de"_s);
    std::atomic<int> Wrong = 0;
    std::vector<std::thread> Threads;
    for (int t = 0; t < 4; ++t) {
        Threads.emplace_back([&] {
            for (int i = 0; i < 2000; ++i) {
                if (M->Get(u"Yes"_s) != u"Ja"_s || M->Get(u"No"_s) != u"No"_s)
                    ++Wrong;
            }
        });
    }
    for (std::thread &T : Threads)
        T.join();
    EXPECT_EQ(Wrong, 0);
}

TEST_F(LanguageManagerTest, LoadFromFileReplacesTheProjects)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Ja"_s}));
    const auto M = Create(u"de"_s);
    AddProject(u"other.lng"_s, Project(u"en"_s, {u"en"_s, u"fr"_s}, {u"text_id=Yes"_s, u"text_fr=Oui"_s}));
    M->LoadFromFile(Dir.filePath(u"other.lng"_s));
    ASSERT_EQ(M->projects().size(), 1u);
    EXPECT_EQ(Current(*M), u"en"_s); // German is no longer offered
    EXPECT_FALSE(Catalogue.FindLanguage(u"de"_s)->Available);
    EXPECT_TRUE(Catalogue.FindLanguage(u"fr"_s)->Available);
    M->SetLanguage(u"fr"_s);
    EXPECT_EQ(M->Get(u"Yes"_s), u"Oui"_s);
}

TEST_F(LanguageManagerTest, LoadFromFileFailureLeavesNoProjects)
{
    AddProject(u"VOXTRALANG1"_s, Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Ja"_s}));
    AddProject(u"broken.lng"_s, {u"[languages]"_s, u"id=en"_s});
    const auto M = Create(u"de"_s);
    for (const QString &Name : {u"broken.lng"_s, u"missing.lng"_s}) {
        try {
            M->LoadFromFile(Dir.filePath(Name));
            FAIL() << qPrintable(Name);
        } catch (const LanguageError &E) {
            EXPECT_EQ(E.message(), u"Error loading languagefile"_s);
        }
        EXPECT_TRUE(M->projects().empty());
        EXPECT_EQ(M->Get(u"Yes"_s), u"Yes"_s);
    }
}

// A language file is read up to 16 MiB; one character more is refused unread.
TEST_F(LanguageManagerTest, LanguageFilesAreReadUpToSixteenMebibytes)
{
    const auto M = Create(u"de"_s);
    const QByteArray Body = ProjectText(Project(u"en"_s, {u"en"_s, u"de"_s}, {u"text_id=Yes"_s, u"text_de=Ja"_s}));
    const qint64 Limit = 16 * 1024 * 1024;
    for (const qint64 Size : {Limit, Limit + 2}) {
        // A long project name fills the file up to its size.
        const QString Name(qsizetype((Size - Body.size()) / 2 - 19), u'x');
        AddProject(u"big.lng"_s, {u"[settings]"_s, u"name="_s + Name});
        QFile File(Dir.filePath(u"big.lng"_s));
        ASSERT_TRUE(File.open(QIODevice::Append));
        File.write(Body);
        ASSERT_EQ(File.size(), Size);
        File.close();
        bool Loaded = true;
        try {
            M->LoadFromFile(File.fileName());
        } catch (const LanguageError &) {
            Loaded = false;
        }
        EXPECT_EQ(Loaded, Size == Limit) << Size;
        EXPECT_EQ(M->Get(u"Yes"_s), Size == Limit ? u"Ja"_s : u"Yes"_s);
    }
}

TEST(TranslateTextFunction, ReturnsTheTextWhileNoManagerExists)
{
    shutdownLocalisation();
    EXPECT_EQ(TranslateText(u"Close"_s), u"Close"_s);
}
