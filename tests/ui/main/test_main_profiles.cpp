#include "test_main_support.h"

#include "core/files/ProfileFile.h"
#include "ui/main/ProfileDialogs.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/dialogs/uDebug.h"

#include <QSpinBox>
#include <QStatusBar>

namespace {
class ProfileTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        MainWindowTest::SetUp();
        ProfileDialogs::setTestResponder([this](ProfileDialogs::Kind kind, const QString &title) {
            titles << title;
            return kind == ProfileDialogs::Kind::Save ? saveAnswer : openAnswer;
        });
    }
    void TearDown() override
    {
        ProfileDialogs::resetTestResponder();
        MainWindowTest::TearDown();
    }

    SimUnit *openOne(const SimControllerModel &model = SimControllerModel::sane(1))
    {
        SimUnit *unit = bus.add(model);
        start();
        EXPECT_TRUE(waitFor([&] { return isOpen(model.serial); }));
        unit->clearReceived();
        return unit;
    }

    QString file(const char *name) const { return dir.filePath(QLatin1String(name)); }
    void writeFile(const QString &path, const QByteArray &text)
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }
    static QByteArray readFile(const QString &path)
    {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    QByteArray profile(uint32_t sysId, const QByteArray &params) const
    {
        return "[GLOBAL]\nINFO=CORVANE CONFIGURATION FILE\nID=" + QByteArray::number(int32_t(sysId))
            + "\nVERSION=11\n\n[PARAMETER]\n" + params;
    }
    QString status() const { return window->findChild<QStatusBar *>(QStringLiteral("sBar"))->currentMessage(); }

    QString saveAnswer, openAnswer;
    QStringList titles;
};
} // namespace

TEST_F(ProfileTest, SavingWritesIdentityAndAllParametersInTagOrder)
{
    auto model = SimControllerModel::sane(1);
    model.bios.SysId = 0x80000001; // stored negative
    for (auto &p : model.defaults) {
        if (p.tag == "STUP")
            p.value = 0xFF000000;
    }
    openOne(model);
    saveAnswer = file("a.cvn");
    window->profiles().butSaveProfileClick();
    EXPECT_EQ(titles, QStringList{"Save configuration"});
    EXPECT_TRUE(window->debug()->lines().contains(saveAnswer));

    const ParsedProfile saved = ProfileFile::readProfileFile(saveAnswer);
    EXPECT_EQ(saved.id, 0x80000001u);
    EXPECT_EQ(saved.version, 11);
    EXPECT_EQ(saved.keys, (QList<QByteArray>{"LMAX", "KTIM", "STUP", "CPRO", "LPRO", "LAYO", "BRIG", "COL0", "COL1",
                                              "MIRR", "SCFG", "MCHN", "MCNT", "MXOR", "MBEG", "1CFG", "2CFG", "3CFG",
                                              "4CFG", "5CFG", "6CFG"}));
    EXPECT_EQ(saved.params.value(2), (ProfileParam{"STUP", 0xFF000000}));
    EXPECT_EQ(status(), QString());
}

TEST_F(ProfileTest, LoadingOneKeySendsOnlyItAndReadsAllBack)
{
    SimUnit *unit = openOne();
    openAnswer = file("brig.cvn");
    writeFile(openAnswer, profile(unit->firmware().model().bios.SysId, "BRIG=150\n"));
    window->profiles().butLoadProfileClick();
    EXPECT_EQ(titles, QStringList{"Open configuration"});
    EXPECT_EQ(commandCount(unit, 0xED), 1);
    // BRIG is read once before it is written, so a change another program
    // made meanwhile is kept; then all 21 are read back.
    EXPECT_EQ(commandCount(unit, 0xEC), 1 + 21);
    EXPECT_EQ(unit->firmware().param("BRIG"), 150u);
    EXPECT_EQ(find<QSpinBox>("edBright")->value(), 150);
    EXPECT_EQ(status(), "brig.cvn");
    EXPECT_TRUE(errorTexts().isEmpty());
}

TEST_F(ProfileTest, ProfileOfAnotherControllerChangesNothing)
{
    SimUnit *unit = openOne();
    openAnswer = file("other.cvn");
    writeFile(openAnswer, profile(unit->firmware().model().bios.SysId + 1, "BRIG=150\n"));
    window->profiles().butLoadProfileClick();
    EXPECT_EQ(errorTexts(), QList<QString>{"File ID unknown"});
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_EQ(status(), QString());
}

TEST_F(ProfileTest, UnwritableTargetKeepsTheOldFileAndSaysWhy)
{
    openOne();
    saveAnswer = file("missing-folder/x.cvn");
    window->profiles().butSaveProfileClick();
    ASSERT_EQ(errorTexts().size(), 1);
    EXPECT_FALSE(errorTexts()[0].isEmpty());
    EXPECT_FALSE(QFile::exists(saveAnswer));
}

TEST_F(ProfileTest, CancellingEitherDialogChangesNothing)
{
    SimUnit *unit = openOne();
    window->profiles().butSaveProfileClick();
    window->profiles().butLoadProfileClick();
    EXPECT_EQ(titles.size(), 2);
    EXPECT_TRUE(unit->received().isEmpty());
    EXPECT_TRUE(TMsgBox::testCalls().isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QStringList{"*.cvn"}), QStringList());
}

TEST_F(ProfileTest, RoundTripRestoresEveryParameter)
{
    SimUnit *unit = openOne();
    const QList<SimParam> before = unit->firmware().params();
    saveAnswer = file("round.cvn");
    window->profiles().butSaveProfileClick();

    // Change most parameters on the device, then load the profile back.
    for (const SimParam &p : before) {
        if (p.tag != "LMAX" && p.tag != "STUP")
            unit->firmware().setParam(p.tag, p.tag == "BRIG" ? 7 : 0);
    }
    unit->firmware().setParam("STUP", 0x01020304);
    window->session().select(0);
    window->editor()->DoInit();
    openAnswer = saveAnswer;
    window->profiles().butLoadProfileClick();
    EXPECT_TRUE(errorTexts().isEmpty()) << errorTexts().value(0).toStdString();
    for (const SimParam &p : before)
        EXPECT_EQ(unit->firmware().param(p.tag), p.value) << p.tag.constData();
}

TEST_F(ProfileTest, AfterAFailedLoadNothingUnreadIsSaved)
{
    auto model = SimControllerModel::sane(1);
    SimUnit *unit = bus.add(model);
    // Identification takes four transfers, each read two: the read of 6CFG fails.
    unit->faults().failAfterTransfers = 4 + 20 * 2;
    start();
    ASSERT_EQ(errorTexts(), QList<QString>{"Error reading Config = 0xE000 (Communication Error)"});

    // The editor shows no values and takes no edits; saving is refused.
    EXPECT_FALSE(find<QSpinBox>("edBright")->isEnabled());
    EXPECT_EQ(find<QSpinBox>("edBright")->text(), "---");
    EXPECT_EQ(find<QComboBox>("cbLPD8803clk")->currentIndex(), -1);
    EXPECT_EQ(text("labCapacity"), "---");
    EXPECT_FALSE(window->butSaveProfile->isEnabled());
    saveAnswer = file("partial.cvn");
    window->profiles().butSaveProfileClick();
    EXPECT_FALSE(QFile::exists(saveAnswer));
    ASSERT_EQ(errorTexts().size(), 2);
    EXPECT_TRUE(errorTexts()[1].contains("6CFG")) << errorTexts()[1].toStdString();

    // A load that succeeds makes everything usable again.
    find<QPushButton>("butRetry")->click();
    EXPECT_TRUE(find<QSpinBox>("edBright")->isEnabled());
    EXPECT_EQ(find<QSpinBox>("edBright")->value(), 100);
    EXPECT_TRUE(window->butSaveProfile->isEnabled());
    window->profiles().butSaveProfileClick();
    EXPECT_TRUE(readFile(saveAnswer).contains("6CFG=3"));
}
