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
        a = bus.add(SimControllerModel::sane(1));
        b = bus.add(SimControllerModel::sane(2));
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
        for (const QByteArray &r : unit->received())
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
    a->firmware().setParam("BRIG", 150);
    a->firmware().setParam("STUP", 0xFF000000);
    const QString path = file("setup.cvn");
    const CliRunResult saved = run(QStringLiteral("SIM0001"), {QStringLiteral("save-profile"), path});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();

    const ParsedProfile p = ProfileFile::readProfileFile(path);
    EXPECT_EQ(p.id, a->firmware().model().bios.SysId);
    ASSERT_EQ(p.keys.size(), 21);
    EXPECT_EQ(p.keys.first(), QByteArray("LMAX"));

    // A dry run says what would change, field by field, and writes nothing.
    const CliRunResult dry = run("SIM0002", {"--dry-run", "load-profile", path});
    EXPECT_EQ(dry.code, 0) << dry.err.toStdString();
    EXPECT_EQ(dry.lines(), (QStringList{"startup.red: 32 -> 0", "startup.green: 32 -> 0", "startup.blue: 32 -> 0",
                                        "startup.length_ms: 500 -> 2550", "brightness_percent: 100 -> 150"}));
    EXPECT_EQ(writesTo(b), 0);

    const CliRunResult loaded = run(QStringLiteral("SIM0002"), {QStringLiteral("load-profile"), path});
    EXPECT_EQ(loaded.code, 0) << loaded.err.toStdString();
    EXPECT_EQ(b->firmware().params().size(), a->firmware().params().size());
    for (const SimParam &param : a->firmware().params())
        EXPECT_EQ(b->firmware().param(param.tag), param.value) << param.tag.constData();
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

TEST_F(CliProfiles, AmbiguousProfileChangesNothingButUtf16Loads)
{
    const QByteArray head = "[GLOBAL]\nID=" + ProfileFile::formatValue(a->firmware().model().bios.SysId)
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
    EXPECT_EQ(a->firmware().param("BRIG"), 15u);
}

TEST_F(CliProfiles, UnwritableProfileFails)
{
    const CliRunResult r = run(QStringLiteral("SIM0001"),
                               {QStringLiteral("save-profile"), file("missing-folder/setup.cvn")});
    EXPECT_EQ(r.code, 1);
    EXPECT_FALSE(r.err.isEmpty());
}

