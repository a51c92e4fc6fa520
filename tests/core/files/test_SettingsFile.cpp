#include "core/files/SettingsFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class SettingsFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path() const { return dir.filePath(QString::fromLatin1(SettingsFile::FileName)); }
    ConfigSettings readWith(const QByteArray &content)
    {
        EXPECT_TRUE(putFile(path(), content));
        SettingsFile s(path());
        return s.readConfig();
    }
    QTemporaryDir dir;
};

TEST_F(SettingsFileTest, FirstStartWithoutFileGivesDefaults)
{
    SettingsFile s(path());
    const ConfigSettings c = s.readConfig();
    EXPECT_EQ(c.device, QString());
    EXPECT_EQ(c.language, QStringLiteral("en"));
    EXPECT_FALSE(c.autoSend);
    EXPECT_EQ(c.tabActive, 0);
    EXPECT_FALSE(s.readPlacement().normPos.has_value());
    EXPECT_FALSE(QFileInfo::exists(path())) << "reading must not create the file";
}

TEST_F(SettingsFileTest, MalformedOrTruncatedFileFallsBackToDefaults)
{
    EXPECT_EQ(readWith(QByteArrayLiteral("\xFF\xFE garbage [[[ ===\n=x\n[CONFIG\nTABACTIVE\x00=2\n")), ConfigSettings());
    EXPECT_EQ(readWith("[CONFIG]\nLANGUAGE=de\nAUTOSE"), (ConfigSettings{{}, QStringLiteral("de"), false, 0}));
    EXPECT_EQ(readWith("[CONFIG]\nAUTOSEND=perhaps\nTABACTIVE=two\n"), ConfigSettings());
}

TEST_F(SettingsFileTest, TabActiveOutsideThePagesReadsAsFirstPage)
{
    EXPECT_EQ(readWith("[CONFIG]\nTABACTIVE=3\n").tabActive, 3);
    EXPECT_EQ(readWith("[CONFIG]\nTABACTIVE=4\n").tabActive, 0);
    EXPECT_EQ(readWith("[CONFIG]\nTABACTIVE=-1\n").tabActive, 0);
    EXPECT_EQ(readWith("[CONFIG]\nTABACTIVE=99999999999\n").tabActive, 0);
}

TEST_F(SettingsFileTest, LowerCaseYesReadsTrueAndIsWrittenBackAsTRUE)
{
    ConfigSettings c = readWith("[config]\nautosend=yes\n");
    EXPECT_TRUE(c.autoSend);
    SettingsFile s(path());
    ASSERT_TRUE(s.writeConfig(s.readConfig()));
    EXPECT_EQ(fileBytes(path()), "[config]\nautosend=TRUE\nDEVICE=\nLANGUAGE=en\nTABACTIVE=0\n");
}

TEST_F(SettingsFileTest, WritingCreatesTheFileAndKeepsOtherContent)
{
    ASSERT_TRUE(putFile(path(), "[Other]\nX=1\n[CONFIG]\nLANGUAGE=de\nEXTRA=keep\n"));
    SettingsFile s(path());
    ASSERT_TRUE(s.writeConfig({QStringLiteral("CV123"), QStringLiteral("en"), true, 2}));
    EXPECT_EQ(fileBytes(path()),
              "[Other]\nX=1\n\n[CONFIG]\nLANGUAGE=en\nEXTRA=keep\nDEVICE=CV123\nAUTOSEND=TRUE\nTABACTIVE=2\n");
    SettingsFile again(path());
    EXPECT_EQ(again.readConfig(), (ConfigSettings{QStringLiteral("CV123"), QStringLiteral("en"), true, 2}));
}

TEST_F(SettingsFileTest, EmptyDeviceIsWrittenAndMeansNoPreference)
{
    SettingsFile s(path());
    ASSERT_TRUE(s.writeConfig({}));
    EXPECT_TRUE(fileBytes(path()).contains("\nDEVICE=\n"));
    EXPECT_EQ(SettingsFile(path()).readConfig().device, QString());
}

TEST_F(SettingsFileTest, ReadsAgainWhenAnotherWriterChangedTheFile)
{
    SettingsFile first(path());
    EXPECT_EQ(first.readConfig().language, QStringLiteral("en"));
    SettingsFile second(path());
    ASSERT_TRUE(second.writeConfig({QStringLiteral("SN9"), QStringLiteral("de"), false, 1}));
    EXPECT_EQ(first.readConfig(), (ConfigSettings{QStringLiteral("SN9"), QStringLiteral("de"), false, 1}));
}

TEST_F(SettingsFileTest, LineBreaksInTextCannotInjectKeys)
{
    SettingsFile s(path());
    ASSERT_TRUE(s.writeConfig({QStringLiteral("SN\nTABACTIVE=3"), QStringLiteral("en"), false, 0}));
    const ConfigSettings back = SettingsFile(path()).readConfig();
    EXPECT_EQ(back.device, QStringLiteral("SN TABACTIVE=3"));
    EXPECT_EQ(back.tabActive, 0);
}

TEST_F(SettingsFileTest, FailedWriteIsReported)
{
    // What the failed write leaves is the writer's business (test_SafeFile).
    SettingsFile nowhere(dir.filePath(QStringLiteral("missing/dir/x.ini")));
    EXPECT_FALSE(nowhere.writeConfig({}));
    EXPECT_FALSE(nowhere.errorString().isEmpty());
}

TEST_F(SettingsFileTest, PlacementRoundTripInSectionMain)
{
    WindowPlacement p;
    p.showCmd = 1;
    p.pixelsPerInch = 96;
    p.normPos = WindowPlacement::Rect{-1200, 20, -400, 620};
    SettingsFile s(path());
    ASSERT_TRUE(s.writePlacement(p));
    EXPECT_EQ(fileBytes(path()),
              "[Main]\nShowCmd=1\nFlags=0\nPixelsPerInch=96\nMinMaxPos=-1,-1,-1,-1\nNormPos=-1200,20,-400,620\n");
    EXPECT_EQ(SettingsFile(path()).readPlacement(), p);

    p.normPos.reset();
    ASSERT_TRUE(s.writePlacement(p));
    EXPECT_FALSE(fileBytes(path()).contains("NormPos"));
}

class SettingsLocationTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(exeDir.isValid()); }
    QTemporaryDir exeDir;
};

TEST_F(SettingsLocationTest, BesideAPortableCopyWithoutProbing)
{
    EXPECT_EQ(SettingsFile::settingsPath(exeDir.path()), QDir(exeDir.path()).filePath(QStringLiteral("CORVANE_Config.ini")));
    EXPECT_TRUE(QDir(exeDir.path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot).isEmpty());
}

TEST_F(SettingsLocationTest, InstalledCopyUsesThePerUserFolder)
{
    ASSERT_FALSE(QFileInfo::exists(QStringLiteral("/usr/bin/CORVANE_Config.ini")));
    const QString configDir = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    QDir(configDir).removeRecursively();
    const QString p = SettingsFile::settingsPath(QStringLiteral("/usr/bin"));
    // Stops here when the rule is broken, so nothing is written into /usr/bin.
    ASSERT_EQ(p, QDir(configDir).filePath(QStringLiteral("CORVANE_Config.ini")));
    EXPECT_TRUE(QFileInfo(configDir).isDir()) << "the folder is created";
    EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/usr/bin/CORVANE_Config.ini")));
    EXPECT_TRUE(SettingsFile(p).writeConfig({}));
    QDir(configDir).removeRecursively();
}

TEST(SettingsLocation, SystemPrefixesAreWholeFolderNames)
{
    for (const char *dir : {"/usr", "/usr/bin", "/usr/local/bin", "/opt/corvane", "/snap/corvane/12/bin", "/bin"})
        EXPECT_TRUE(SettingsFile::isSystemFolder(QString::fromLatin1(dir))) << dir;
    for (const char *dir : {"/usr2/bin", "/optional", "/home/me/corvane", "/media/stick", "/tmp"})
        EXPECT_FALSE(SettingsFile::isSystemFolder(QString::fromLatin1(dir))) << dir;
}
