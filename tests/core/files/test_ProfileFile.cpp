#include "core/files/IniTextCheck.h"
#include "core/files/ProfileFile.h"

#include "TestFiles.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// The parameter set of a sane controller, in the device's order.
QList<ProfileParam> deviceParams()
{
    QList<ProfileParam> params;
    uint32_t v = 1;
    for (const char *tag : {"LMAX", "KTIM", "STUP", "CPRO", "LPRO", "LAYO", "BRIG", "COL0", "COL1", "MIRR", "SCFG",
                            "MCHN", "MCNT", "MXOR", "MBEG", "1CFG", "2CFG", "3CFG", "4CFG", "5CFG", "6CFG"})
        params.append({tag, v++});
    params[2].value = 0xFF000000u; // STUP: black, 2550 ms
    params[6].value = 100;         // BRIG
    return params;
}

constexpr uint32_t SysId = 0x12345678;

} // namespace

class ProfileFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }
    QString path(const char *name = "saved.cvn") const { return dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir dir;
};

TEST_F(ProfileFileTest, SavedFileLayout)
{
    QString error;
    ASSERT_TRUE(ProfileFile::writeProfileFile(path(), SysId, 11, deviceParams(), &error)) << qPrintable(error);
    EXPECT_EQ(fileBytes(path()),
              "[GLOBAL]\nINFO=CORVANE CONFIGURATION FILE\nID=305419896\nVERSION=11\n\n"
              "[PARAMETER]\nLMAX=1\nKTIM=2\nSTUP=-16777216\nCPRO=4\nLPRO=5\nLAYO=6\nBRIG=100\nCOL0=8\n"
              "COL1=9\nMIRR=10\nSCFG=11\nMCHN=12\nMCNT=13\nMXOR=14\nMBEG=15\n1CFG=16\n2CFG=17\n3CFG=18\n"
              "4CFG=19\n5CFG=20\n6CFG=21\n");
}

TEST_F(ProfileFileTest, RoundTripKeepsEveryBit)
{
    QList<ProfileParam> params = deviceParams();
    params[0].value = 0xFFFFFFFFu;
    params[1].value = 0x80000000u;
    params[3].value = 0x7FFFFFFFu;
    ASSERT_TRUE(ProfileFile::writeProfileFile(path(), SysId, 11, params));
    const ParsedProfile p = ProfileFile::readProfileFile(path());
    EXPECT_EQ(p.loadError(SysId), QString());
    EXPECT_EQ(p.params, params);
    EXPECT_EQ(p.params[2].value, 0xFF000000u);
    EXPECT_TRUE(p.hasVersion);
    EXPECT_EQ(p.version, 11);
}

TEST_F(ProfileFileTest, SysIdWithBit31SetMatchesItsOwnDevice)
{
    const uint32_t id = 0x80000001u;
    ASSERT_TRUE(ProfileFile::writeProfileFile(path(), id, 11, deviceParams()));
    EXPECT_TRUE(fileBytes(path()).contains("\nID=-2147483647\n"));
    const ParsedProfile p = ProfileFile::readProfileFile(path());
    EXPECT_TRUE(p.matchesDevice(id));
    EXPECT_FALSE(p.matchesDevice(SysId));
    EXPECT_EQ(p.loadError(id), QString());
}

TEST_F(ProfileFileTest, SavingOverAFileKeepsWhatItDoesNotWrite)
{
    ASSERT_TRUE(putFile(path(), "[GLOBAL]\nINFO=old\nID=1\nCOMMENT=mine\n[PARAMETER]\nBRIG=5\nXTRA=7\n"
                                "[NOTES]\nA=b\n"));
    QList<ProfileParam> params = {{"LMAX", 300}, {"BRIG", 150}};
    ASSERT_TRUE(ProfileFile::writeProfileFile(path(), SysId, 11, params));
    EXPECT_EQ(fileBytes(path()),
              "[GLOBAL]\nINFO=CORVANE CONFIGURATION FILE\nID=305419896\nCOMMENT=mine\nVERSION=11\n\n"
              "[PARAMETER]\nBRIG=150\nXTRA=7\nLMAX=300\n\n[NOTES]\nA=b\n");
    // The extra key comes back on loading; the caller skips what it does not know.
    EXPECT_EQ(ProfileFile::readProfileFile(path()).keys, (QList<QByteArray>{"BRIG", "XTRA", "LMAX"}));
}

TEST_F(ProfileFileTest, SavedTagReplacesAKeyThatDiffersOnlyInCase)
{
    ASSERT_TRUE(putFile(path(), "[GLOBAL]\nID=305419896\n[PARAMETER]\nbrig=5\nXTRA=7\n"));
    ASSERT_TRUE(ProfileFile::writeProfileFile(path(), SysId, 11, {{"BRIG", 150}}));
    const ParsedProfile p = ProfileFile::readProfileFile(path());
    EXPECT_EQ(p.params, (QList<ProfileParam>{{"XTRA", 7}, {"BRIG", 150}}));
}

TEST_F(ProfileFileTest, UnreadableFileReportsWhy)
{
    const ParsedProfile missing = ProfileFile::readProfileFile(path("absent.cvn"));
    EXPECT_FALSE(missing.fileError.isEmpty());
    EXPECT_EQ(missing.loadError(0), missing.fileError);

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("folder.cvn")));
    EXPECT_FALSE(ProfileFile::readProfileFile(path("folder.cvn")).fileError.isEmpty());
}

TEST(ProfileReader, IdChecks)
{
    EXPECT_EQ(ProfileFile::readProfile("[GLOBAL]\nID=7\n[PARAMETER]\nBRIG=1\n").loadError(8),
              QStringLiteral("File ID unknown"));
    // A missing or unreadable ID never matches, not even a device whose SysId is 0.
    EXPECT_EQ(ProfileFile::readProfile("[PARAMETER]\nBRIG=1\n").loadError(0), QStringLiteral("File ID unknown"));
    EXPECT_EQ(ProfileFile::readProfile("[GLOBAL]\nID=zero\n[PARAMETER]\nBRIG=1\n").loadError(0),
              QStringLiteral("File ID unknown"));
    EXPECT_EQ(ProfileFile::readProfile("[global]\nid=0\n[parameter]\nBRIG=1\n").loadError(0), QString());
}

TEST(ProfileReader, NoParameters)
{
    EXPECT_EQ(ProfileFile::readProfile("[GLOBAL]\nID=7\n").loadError(7), QStringLiteral("No parameter in file"));
    EXPECT_EQ(ProfileFile::readProfile("[GLOBAL]\nID=7\n[PARAMETER]\n").loadError(7),
              QStringLiteral("No parameter in file"));
}

TEST(ProfileReader, OneBadValueRejectsTheWholeFile)
{
    const ParsedProfile p = ProfileFile::readProfile("[GLOBAL]\nID=7\n[PARAMETER]\nLMAX=300\nBRIG=abc\nKTIM=5\n");
    EXPECT_TRUE(p.params.isEmpty());
    EXPECT_EQ(p.keys.size(), 3);
    EXPECT_EQ(p.valueError, QStringLiteral("'abc' is not a valid integer value for key BRIG"));
    EXPECT_EQ(p.loadError(7), p.valueError);

    for (const char *bad : {"", "0x10", "$10", "2147483648", "-2147483649", "4294967295", "1.5", "12 3"}) {
        const ParsedProfile q = ProfileFile::readProfile(QByteArray("[GLOBAL]\nID=7\n[PARAMETER]\nBRIG=") + bad);
        EXPECT_FALSE(q.valueError.isEmpty()) << bad;
        EXPECT_TRUE(q.params.isEmpty()) << bad;
    }
}

TEST(ProfileReader, ValueBoundsAndSigns)
{
    const ParsedProfile p =
        ProfileFile::readProfile("[GLOBAL]\nID=7\n[PARAMETER]\nA=-2147483648\nB=2147483647\nC= +12 \nD=-1\n");
    EXPECT_EQ(p.params, (QList<ProfileParam>{{"A", 0x80000000u}, {"B", 0x7FFFFFFFu}, {"C", 12}, {"D", 0xFFFFFFFFu}}));
}

TEST(ProfileReader, KeysKeepTheirFileOrderAndLetterCase)
{
    const ParsedProfile p =
        ProfileFile::readProfile("\xEF\xBB\xBF[GLOBAL]\r\nID=7\r\n[PARAMETER]\r\nbrig=150\r\nZZZZ=1\r\nLMAX=2\r\n");
    EXPECT_EQ(p.loadError(7), QString());
    EXPECT_EQ(p.params, (QList<ProfileParam>{{"brig", 150}, {"ZZZZ", 1}, {"LMAX", 2}}));
}

TEST(ProfileReader, AmbiguousFileIsRefusedNamingWhyAndOffersNothing)
{
    const QByteArray head = "[GLOBAL]\nID=7\n[PARAMETER]\n";
    QByteArray many = head;
    for (int i = 0; i < MaxIniEntries; ++i)
        many += "K" + QByteArray::number(i) + "=1\n";
    const std::pair<QByteArray, const char *> cases[] = {
        {head + QByteArray("BRIG=15\0" "0\nCPRO=3\n", 18), "Key BRIG holds a NUL byte"},
        {head + QByteArray("BRIG=1\n\0\n", 10), "Line 5 holds a NUL byte"},
        {head + "BRIG=1\nLMAX=2\nBRIG=3\n", "Key BRIG is given twice in section PARAMETER"},
        {head + "BRIG=1\n brig = 2\n", "Key brig is given twice in section PARAMETER"},
        {head + "BRIG=1\n[Parameter]\nLMAX=2\n", "Section Parameter is given twice"},
        {"[GLOBAL]\nID=7\n[PARAMETER]\nBRIG=1\n[ global ]\nID=8\n", "Section global is given twice"},
        {many, "The file holds more than 1000 keys"},
    };
    for (const auto &[text, message] : cases) {
        const ParsedProfile p = ProfileFile::readProfile(text);
        EXPECT_EQ(p.loadError(7), QString::fromLatin1(message)) << text.constData();
        EXPECT_TRUE(p.keys.isEmpty() && p.params.isEmpty()) << text.constData();
    }
    // The same key in two sections, in comments or in lines that are no
    // key at all is no repetition.
    const ParsedProfile fine = ProfileFile::readProfile(
        "[GLOBAL]\nID=7\nBRIG=1\n; BRIG=2\n[PARAMETER]\n# BRIG=3\nBRIG=4\nnote\nnote\n[OTHER\n");
    EXPECT_EQ(fine.loadError(7), QString());
    EXPECT_EQ(fine.params, (QList<ProfileParam>{{"BRIG", 4}}));
}

TEST(ProfileReader, Utf16WithByteOrderMarkIsReadAsItsText)
{
    const QString text = QStringLiteral("[GLOBAL]\r\nID=7\r\n[PARAMETER]\r\nBRIG=150\r\nSTUP=-16777216\r\n");
    QByteArray le("\xFF\xFE"), be("\xFE\xFF");
    for (const QChar c : text) {
        le += char(c.unicode() & 0xFF) + QByteArray(1, char(c.unicode() >> 8));
        be += QByteArray(1, char(c.unicode() >> 8)) + char(c.unicode() & 0xFF);
    }
    for (const QByteArray &data : {le, be}) {
        const ParsedProfile p = ProfileFile::readProfile(data);
        EXPECT_EQ(p.loadError(7), QString());
        EXPECT_EQ(p.params, (QList<ProfileParam>{{"BRIG", 150}, {"STUP", 0xFF000000u}}));
    }
    // A NUL character counts in UTF-16 too; without the mark the bytes stay bytes.
    EXPECT_EQ(ProfileFile::readProfile(le + QByteArray("\0\0", 2)).loadError(7), QStringLiteral("Line 6 holds a NUL byte"));
    EXPECT_EQ(ProfileFile::readProfile(le.sliced(2)).loadError(7), QStringLiteral("Line 1 holds a NUL byte"));
}

TEST(ProfileReader, BadVersionDoesNotSpoilTheFile)
{
    const ParsedProfile p = ProfileFile::readProfile("[GLOBAL]\nID=7\nVERSION=v1.1\n[PARAMETER]\nBRIG=1\n");
    EXPECT_FALSE(p.hasVersion);
    EXPECT_EQ(p.loadError(7), QString());
}

TEST(ProfileReader, LongBadValueIsShortenedInTheMessage)
{
    const ParsedProfile p =
        ProfileFile::readProfile("[GLOBAL]\nID=7\n[PARAMETER]\nBRIG=" + QByteArray(5000, 'x') + "\n");
    EXPECT_LT(p.valueError.size(), 120);
    EXPECT_TRUE(p.valueError.contains(QStringLiteral("BRIG")));
}
