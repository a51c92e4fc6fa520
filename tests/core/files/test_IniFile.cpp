#include "core/files/IniFile.h"
#include "core/files/IniTextCheck.h"

#include "TestFiles.h"

#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

TEST(IniValueRules, BooleanWordsInAnyCaseAndIntegers)
{
    for (const char *t : {"TRUE", "true", "Yes", "y", " YES ", "1", "-7"})
        EXPECT_EQ(IniFile::parseBool(t), std::optional<bool>(true)) << t;
    for (const char *t : {"FALSE", "False", "no", "N", "0", "+0"})
        EXPECT_EQ(IniFile::parseBool(t), std::optional<bool>(false)) << t;
    for (const char *t : {"", "maybe", "yess", "0x1", "1.0", "T"})
        EXPECT_FALSE(IniFile::parseBool(t).has_value()) << t;
}

TEST(IniValueRules, Int32IsStrictDecimalWithinRange)
{
    EXPECT_EQ(IniFile::parseInt32("0"), 0);
    EXPECT_EQ(IniFile::parseInt32("  +42\t"), 42);
    EXPECT_EQ(IniFile::parseInt32("-16777216"), -16777216);
    EXPECT_EQ(IniFile::parseInt32("2147483647"), INT32_MAX);
    EXPECT_EQ(IniFile::parseInt32("-2147483648"), INT32_MIN);
    EXPECT_EQ(IniFile::parseInt32("000000000000000000012"), 12);
    for (const char *t : {"", " ", "-", "+", "2147483648", "-2147483649", "99999999999999999999999",
                          "0x10", "$10", "1e3", "12abc", "1 2", "--1", "4294967295"})
        EXPECT_FALSE(IniFile::parseInt32(t).has_value()) << t;
}

class IniFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name = "test.ini") const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(IniFileTest, MissingFileIsEmptyAndNotAnError)
{
    IniFile ini;
    EXPECT_TRUE(ini.open(path()));
    EXPECT_FALSE(ini.hasSection("A"));
    EXPECT_EQ(ini.readString("A", "K", QStringLiteral("def")), QStringLiteral("def"));
    EXPECT_EQ(ini.readInt("A", "K", 5), 5);
}

TEST_F(IniFileTest, LookupIgnoresCaseButKeysKeepFileTextAndOrder)
{
    IniFile ini;
    ini.loadFromData("[Sec]\nzeta=1\nAlpha=2\nmid=3\n");
    EXPECT_EQ(ini.keys("SEC"), (QList<QByteArray>{"zeta", "Alpha", "mid"}));
    EXPECT_EQ(ini.readInt("sec", "ALPHA", 0), 2);
    EXPECT_TRUE(ini.contains("SEC", "MID"));
}

TEST_F(IniFileTest, WritesKeyEqualsValueAndKeepsUntouchedContent)
{
    IniFile ini;
    ini.loadFromData("; note\n\n[A]\nkeep=1\nx = old\n\n[B]\nother=2\n");
    EXPECT_TRUE(ini.writeString("a", "X", QStringLiteral("new")));
    EXPECT_TRUE(ini.writeInt("A", "NEW", -3));
    EXPECT_TRUE(ini.writeBool("C", "FLAG", true));
    EXPECT_EQ(ini.toByteArray(),
              "; note\n\n[A]\nkeep=1\nx=new\nNEW=-3\n\n[B]\nother=2\n\n[C]\nFLAG=TRUE\n");
}

TEST_F(IniFileTest, RefusesTextThatWouldBreakTheLineStructure)
{
    IniFile ini;
    EXPECT_FALSE(ini.writeString("A", "K", QStringLiteral("two\nlines")));
    EXPECT_FALSE(ini.writeString("A", "K", QStringLiteral("cr\r")));
    EXPECT_FALSE(ini.writeRaw("A", "K", QByteArray("nul\0byte", 8)));
    EXPECT_FALSE(ini.writeRaw("A", "K=1", "v"));
    EXPECT_FALSE(ini.writeRaw("A", ";K", "v"));
    EXPECT_FALSE(ini.writeRaw("A", "", "v"));
    EXPECT_FALSE(ini.writeRaw("A]", "K", "v"));
    EXPECT_FALSE(ini.writeRaw("A", " K", "v"));
    EXPECT_TRUE(ini.toByteArray().isEmpty());
}

TEST_F(IniFileTest, ByteOrderMarkAcceptedAndNeverWritten)
{
    ASSERT_TRUE(putFile(path(), "\xEF\xBB\xBF[A]\nK=\xC3\xA4\n"));
    IniFile ini;
    ASSERT_TRUE(ini.open(path()));
    EXPECT_EQ(ini.readString("A", "K"), QString::fromUtf8("\xC3\xA4"));
    ASSERT_TRUE(ini.save());
    EXPECT_EQ(fileBytes(path()), "[A]\nK=\xC3\xA4\n");
}

TEST_F(IniFileTest, ReloadIfChangedPicksUpOutsideWrites)
{
    ASSERT_TRUE(putFile(path(), "[A]\nK=1\n"));
    IniFile ini;
    ASSERT_TRUE(ini.open(path()));
    EXPECT_FALSE(ini.reloadIfChanged());

    ASSERT_TRUE(putFile(path(), "[A]\nK=22\n"));
    EXPECT_TRUE(ini.reloadIfChanged());
    EXPECT_EQ(ini.readInt("A", "K", 0), 22);

    // Same size: the time stamp tells.
    ASSERT_TRUE(putFile(path(), "[A]\nK=33\n"));
    QFile f(path());
    ASSERT_TRUE(f.open(QIODevice::ReadWrite));
    ASSERT_TRUE(f.setFileTime(QDateTime::currentDateTime().addSecs(60), QFileDevice::FileModificationTime));
    f.close();
    EXPECT_TRUE(ini.reloadIfChanged());
    EXPECT_EQ(ini.readInt("A", "K", 0), 33);
}

TEST_F(IniFileTest, OwnSaveIsNotAnOutsideChange)
{
    IniFile ini;
    ASSERT_TRUE(ini.open(path()));
    ini.writeInt("A", "K", 1);
    ASSERT_TRUE(ini.save());
    EXPECT_FALSE(ini.reloadIfChanged());
}

TEST_F(IniFileTest, AFileThatCouldNotBeReadIsNeverReplaced)
{
    QByteArray keys = "[A]\n", sections = "[A]\n";
    for (int i = 1; i < MaxIniEntries; ++i)
        keys += "K" + QByteArray::number(i) + "=1\n", sections += "[S" + QByteArray::number(i) + "]\n";
    const std::pair<QByteArray, bool> cases[] = { // text, readable
        {"[A]\nK=" + QByteArray(IniFile::MaxFileSize - 7, 'v') + "\n", true},
        {"[A]\nK=" + QByteArray(IniFile::MaxFileSize - 6, 'v') + "\n", false},
        {keys + "K=1\n", true}, {keys + "K=1\nL=1\n", false}, {sections, true}, {sections + "[T]\n", false}};
    for (const auto &[text, readable] : cases) {
        ASSERT_TRUE(putFile(path(), text));
        IniFile ini;
        EXPECT_EQ(ini.open(path()), readable) << text.size();
        ini.writeInt("A", "NEW", 1);
        EXPECT_EQ(ini.save(), readable) << text.size();
        EXPECT_EQ(ini.errorString().endsWith(QLatin1String("is not overwritten: it could not be read")), !readable);
        EXPECT_EQ(fileBytes(path()) == text, !readable);
    }
}
