// Profiles through the command line: save on one controller, load into
// another of the same system identifier, and the load checks.
#include "CliTestSupport.h"

#include "core/files/ProfileFile.h"
#include "device/SimUnit.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

class CliProfiles : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        a = bus.Add(SimControllerModel::Sane(1));
        b = bus.Add(SimControllerModel::Sane(2));
    }
    CliRunResult run(const QString &serial, const QStringList &args)
    {
        return RunCliArgs(QStringList{QStringLiteral("--device"), serial} + args, &bus);
    }
    QString file(const char *name) const { return dir.filePath(QString::fromLatin1(name)); }
    void writeFile(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    int writesTo(const SimUnit *unit) const
    {
        int n = 0;
        for (const QByteArray &r : unit->Received())
            n += uint8_t(r[2]) == 0xED;
        return n;
    }

    QTemporaryDir dir;
    SimBus bus;
    SimUnit *a = nullptr;
    SimUnit *b = nullptr;
};

TEST_F(CliProfiles, RoundTripBetweenTwoControllers)
{
    a->Firmware().SetParam("BRIG", 150);
    a->Firmware().SetParam("STUP", 0xFF000000);
    const QString path = file("setup.cvn");
    const CliRunResult saved = run(QStringLiteral("SIM0001"), {QStringLiteral("save-profile"), path});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();

    const ParsedProfile p = ProfileFile::readProfileFile(path);
    EXPECT_EQ(p.id, a->Firmware().Model().Bios.SysId);
    ASSERT_EQ(p.keys.size(), 21);
    EXPECT_EQ(p.keys.first(), QByteArray("LMAX"));

    const CliRunResult loaded = run(QStringLiteral("SIM0002"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(loaded.code, 0) << loaded.err.toStdString();
    EXPECT_EQ(b->Firmware().Params().size(), a->Firmware().Params().size());
    for (const SimParam &param : a->Firmware().Params())
        EXPECT_EQ(b->Firmware().Param(param.Tag), param.Value) << param.Tag.constData();
    EXPECT_EQ(writesTo(b), 2); // STUP and BRIG only
    // The read-back shows the controller's values.
    EXPECT_TRUE(loaded.lines().contains(QStringLiteral("STUP=4278190080")));
    EXPECT_TRUE(loaded.lines().contains(QStringLiteral("BRIG=150")));
}

TEST_F(CliProfiles, ForeignSystemIdChangesNothing)
{
    const QString path = file("foreign.cvn");
    writeFile(path, "[GLOBAL]\nID=12345\n[PARAMETER]\nBRIG=150\n");
    const CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("File ID unknown\n"));
    EXPECT_EQ(writesTo(a), 0);
}

TEST_F(CliProfiles, EmptyParameterSectionAndBadValueStopBeforeAnyWrite)
{
    const QByteArray id = ProfileFile::formatValue(a->Firmware().Model().Bios.SysId);
    const QString empty = file("empty.cvn");
    writeFile(empty, "[GLOBAL]\nID=" + id + "\n");
    CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), empty});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("No parameter in file\n"));

    const QString bad = file("bad.cvn");
    writeFile(bad, "[GLOBAL]\nID=" + id + "\n[PARAMETER]\nBRIG=150\nSTUP=bright\n");
    r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), bad});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
    EXPECT_EQ(writesTo(a), 0);
    EXPECT_EQ(a->Firmware().Param("BRIG"), 100u);
}

TEST_F(CliProfiles, AmbiguousProfileChangesNothingButUtf16Loads)
{
    const QByteArray head = "[GLOBAL]\nID=" + ProfileFile::formatValue(a->Firmware().Model().Bios.SysId)
        + "\n[PARAMETER]\n";
    const std::pair<QByteArray, QString> refused[] = {
        {head + QByteArray("BRIG=15\0" "0\nCPRO=1\n", 18), QStringLiteral("Key BRIG holds a NUL byte\n")},
        {head + "BRIG=15\nCPRO=1\nbrig=20\n", QStringLiteral("Key brig is given twice in section PARAMETER\n")},
    };
    for (const auto &[text, message] : refused) {
        writeFile(file("x.cvn"), text);
        const CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), file("x.cvn")});
        EXPECT_EQ(r.code, 1);
        EXPECT_EQ(r.err, message);
    }
    EXPECT_EQ(writesTo(a), 0);

    QByteArray utf16("\xFF\xFE");
    for (const char c : head + "BRIG=15\r\n")
        utf16 += QByteArray(1, c) + '\0';
    writeFile(file("unicode.cvn"), utf16);
    const CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), file("unicode.cvn")});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(a->Firmware().Param("BRIG"), 15u);
}

TEST_F(CliProfiles, UnknownKeysAndCapacityAreSkipped)
{
    const QByteArray id = ProfileFile::formatValue(a->Firmware().Model().Bios.SysId);
    const QString path = file("partial.cvn");
    // Lower-case and unknown keys are skipped; LMAX describes the controller
    // the file came from and is not written.
    writeFile(path, "[GLOBAL]\nID=" + id + "\n[PARAMETER]\nLMAX=8192\nbrig=7\nXYZW=1\nMIRR=1\n");
    const CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(writesTo(a), 1);
    EXPECT_EQ(a->Firmware().Param("MIRR"), 1u);
    EXPECT_EQ(a->Firmware().Param("BRIG"), 100u);
    EXPECT_EQ(a->Firmware().Param("LMAX"), 4096u);
}

TEST_F(CliProfiles, ProfileWithTooManyLedsIsNotWritten)
{
    const QByteArray id = ProfileFile::formatValue(a->Firmware().Model().Bios.SysId);
    const QString path = file("big.cvn");
    writeFile(path, "[GLOBAL]\nID=" + id + "\n[PARAMETER]\nBRIG=150\nSCFG=525312\n"); // 1024 x 8
    const CliRunResult r = run(QStringLiteral("SIM0001"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, QStringLiteral("Too many LEDs in stripe config (max. 4096)\n"));
    EXPECT_EQ(writesTo(a), 0);
}

TEST_F(CliProfiles, UnwritableProfileFails)
{
    const CliRunResult r = run(QStringLiteral("SIM0001"),
                               {QStringLiteral("save-profile"), file("missing-folder/setup.cvn")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST_F(CliProfiles, ProfileOfASiblingWithAnotherCapacityApplies)
{
    a->Firmware().SetParam("BRIG", 150);
    a->Firmware().SetParam("SCFG", 256 | 8 << 16);
    b->Firmware().SetParam("LMAX", 2048);
    const QString path = file("sibling.cvn");
    ASSERT_EQ(run(QStringLiteral("SIM0001"), {QStringLiteral("save-profile"), path}).code, 0);

    const CliRunResult r = run(QStringLiteral("SIM0002"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(r.code, 0) << r.err.toStdString();
    EXPECT_EQ(b->Firmware().Param("LMAX"), 2048u);
    EXPECT_EQ(b->Firmware().Param("BRIG"), 150u);
    EXPECT_EQ(b->Firmware().Param("SCFG"), uint32_t(256 | 8 << 16));
}
