// For every k, the controller fails (once) or leaves the bus at the k-th
// feature-report transfer of an operation. Afterwards nothing reaches the
// controller or a profile that was neither read from it in this session
// nor typed or loaded by the user, and the window says what went wrong.
#include "core/files/ProfileFile.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "device/SimUnit.h"
#include "ui/dialogs/uMessageBox.h"
#include "ui/editor/ConfigEditor.h"
#include "ui/main/ProfileActions.h"
#include "ui/main/ProfileDialogs.h"
#include "ui/main/uMain.h"

#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>
#include <set>

namespace {

enum class Op { Open, Send, ProfileLoad, Reset };
enum class Fault { Fail, Unplug };

const QString kWriteFailed = QStringLiteral("Error writing Config = 0xE000 (Communication Error)");
const QString kReadFailed = QStringLiteral("Error reading Config = 0xE000 (Communication Error)");

// A controller whose every value differs from the 0 an unread entry holds.
SimControllerModel distinctModel()
{
    SimControllerModel m = SimControllerModel::sane(1);
    const std::map<QByteArray, uint32_t> values{{"CPRO", 1}, {"LPRO", 1}, {"LAYO", 1}, {"MIRR", 0x10101},
                                                {"MBEG", 0x22222222}, {"4CFG", 5}};
    for (SimParam &p : m.defaults) {
        if (values.count(p.tag))
            p.value = values.at(p.tag);
    }
    return m;
}

class FaultSweep : public ::testing::Test {
protected:
    void SetUp() override
    {
        TMsgBox::setTestResponder([this](const TMsgBox::Call &c) {
            if (c.DlgType == mtError)
                errors << c.MsgText;
            return c.DlgType == mtConfirmation ? int(mrYes) : int(mrClose);
        });
        ProfileDialogs::setTestResponder([this](ProfileDialogs::Kind kind, const QString &) {
            return kind == ProfileDialogs::Kind::Save ? dir->filePath("saved.cvn") : dir->filePath("load.cvn");
        });
    }
    void TearDown() override
    {
        window.reset();
        TMsgBox::resetTestResponder();
        ProfileDialogs::resetTestResponder();
    }

    // A fresh window over a fresh bus with the distinct controller.
    void rig()
    {
        window.reset();
        bus = std::make_unique<SimBus>();
        dir = std::make_unique<QTemporaryDir>();
        errors.clear();
        unit = bus->add(distinctModel(), false);
        original.clear();
        for (const SimParam &p : unit->firmware().params())
            original[p.tag] = p.value;
        allowed.clear();
        MainSetup setup;
        setup.controllerFactory = [this] { return std::make_unique<SimController>(bus.get()); };
        setup.settingsPath = dir->filePath("CORVANE_Config.ini");
        window = std::make_unique<TMain>(std::move(setup));
        window->show();
        window->Startup();
    }
    void arm(Fault fault, int k)
    {
        (fault == Fault::Fail ? unit->faults().failAfterTransfers : unit->faults().unplugAfterTransfers) = k - 1;
    }
    void openController()
    {
        bus->plug(unit);
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->session().loaded() || !errors.isEmpty(); }, 3000));
    }

    bool mayHold(const QByteArray &tag, uint32_t value) const
    {
        const auto extra = allowed.find(tag);
        return value == original.at(tag) || (extra != allowed.end() && extra->second.count(value));
    }

    // Every parameter write the controller received, and every value of a
    // profile saved now, must be one the controller or the user gave.
    void expectNothingUnread(const char *what, int k)
    {
        for (const QByteArray &r : unit->received()) {
            if (uint8_t(r[2]) != 0xED || r.mid(3, 4) == QByteArray(4, '\0'))
                continue;
            const uint32_t value = uint8_t(r[7]) | uint8_t(r[8]) << 8 | uint8_t(r[9]) << 16 | uint32_t(uint8_t(r[10])) << 24;
            EXPECT_TRUE(mayHold(r.mid(3, 4), value)) << what << " k=" << k << ": wrote " << r.mid(3, 4).constData()
                                                     << "=" << value;
        }
        // A send now, and a save, go through the same checks.
        unit->clearReceived();
        if (window->editor())
            window->editor()->SendConfig();
        for (const QByteArray &r : unit->received()) {
            const uint32_t value = uint8_t(r[7]) | uint8_t(r[8]) << 8 | uint8_t(r[9]) << 16 | uint32_t(uint8_t(r[10])) << 24;
            if (uint8_t(r[2]) == 0xED) {
                EXPECT_TRUE(mayHold(r.mid(3, 4), value)) << what << " k=" << k << ": sent " << r.mid(3, 4).constData();
            }
        }
        window->profiles().butSaveProfileClick();
        const ParsedProfile saved = ProfileFile::readProfileFile(dir->filePath("saved.cvn"));
        for (const ProfileParam &p : saved.params)
            EXPECT_TRUE(mayHold(p.code, p.value)) << what << " k=" << k << ": saved " << p.code.constData() << "=" << p.value;
        if (!window->session().allRead()) {
            EXPECT_TRUE(saved.params.isEmpty()) << what << " k=" << k;
            EXPECT_FALSE(window->butSaveProfile->isEnabled()) << what << " k=" << k;
        }
    }

    // The window's state once the device list has caught up.
    void expectState(Fault fault, const QString &firstError, const char *what, int k)
    {
        auto *noCorvane = window->findChild<QLabel *>("labNoCorvane");
        if (fault == Fault::Unplug)
            (void)QTest::qWaitFor([&] { return noCorvane->isVisible(); }, 1000);
        QCoreApplication::processEvents();
        if (firstError.isEmpty())
            EXPECT_TRUE(errors.isEmpty()) << what << " k=" << k << ": " << errors.value(0).toStdString();
        else
            EXPECT_EQ(errors.value(0), firstError) << what << " k=" << k;
        auto *page = window->findChild<QTabWidget *>("pageConfig");
        auto *bright = window->findChild<QSpinBox *>("edBright");
        if (fault == Fault::Unplug) {
            EXPECT_TRUE(noCorvane->isVisible()) << what << " k=" << k;
            EXPECT_FALSE(page->isVisible()) << what << " k=" << k;
        } else if (!window->session().allRead()) {
            // Not identified: the editor is hidden; identified but not
            // loaded: it shows no values and takes no edits.
            EXPECT_TRUE(!page->isVisible() || !bright->isEnabled()) << what << " k=" << k;
        } else {
            EXPECT_TRUE(page->isVisible() && bright->isEnabled()) << what << " k=" << k;
        }
    }

    void sweep(Op op, Fault fault, int transfers);

    std::unique_ptr<QTemporaryDir> dir;
    std::unique_ptr<SimBus> bus;
    std::unique_ptr<TMain> window;
    SimUnit *unit = nullptr;
    QStringList errors;
    std::map<QByteArray, uint32_t> original;
    std::map<QByteArray, std::set<uint32_t>> allowed;
};

// The first message a fault at transfer k of the operation leads to.
QString expectedError(Op op, Fault fault, int k)
{
    switch (op) {
    case Op::Open:
        return k <= 2 ? QStringLiteral("Error Reading Biosinfo = 0xE000 (Communication Error)")
             : k <= 4 ? QStringLiteral("Error Reading Cpuinfo = 0xE000 (Communication Error)")
                      : kReadFailed;
    case Op::Send: // KTIM, then BRIG: each read, then written
        return kWriteFailed + (k <= 4 ? QStringLiteral(": KTIM") : QStringLiteral(": BRIG"));
    case Op::ProfileLoad:
        return k <= 4 ? kWriteFailed + QStringLiteral(": BRIG")
             : k <= 8 ? kWriteFailed + QStringLiteral(": MIRR")
                      : kReadFailed;
    case Op::Reset:
        // The preparing command's answer is not looked at; once unplugged,
        // the reset itself fails too.
        if (k <= 2)
            return fault == Fault::Unplug ? QStringLiteral("Reset Error = 0xE000 (Communication Error)") : QString();
        return k <= 4 ? QStringLiteral("Reset Error = 0xE000 (Communication Error)") : kReadFailed;
    }
    return {};
}

void FaultSweep::sweep(Op op, Fault fault, int transfers)
{
    static const char *const names[] = {"open", "send", "profile load", "reset"};
    const char *what = names[int(op)];
    for (int k = 1; k <= transfers; ++k) {
        rig();
        if (op == Op::Open) {
            arm(fault, k);
            unit->clearReceived();
            openController();
        } else {
            openController();
            ASSERT_TRUE(window->session().loaded()) << what;
            unit->clearReceived();
            arm(fault, k);
            switch (op) {
            case Op::Send:
                allowed["BRIG"] = {150};
                allowed["KTIM"] = {uint32_t(25 | 150 << 8)};
                window->findChild<QSpinBox *>("edBright")->setValue(150);
                window->findChild<QSpinBox *>("edKeyBoot")->setValue(500);
                window->findChild<QPushButton *>("ButSaveConfig")->click();
                break;
            case Op::ProfileLoad: {
                allowed["BRIG"] = {150};
                allowed["MIRR"] = {1};
                QFile f(dir->filePath("load.cvn"));
                ASSERT_TRUE(f.open(QIODevice::WriteOnly));
                f.write("[GLOBAL]\nID=" + ProfileFile::formatValue(unit->firmware().model().bios.SysId)
                        + "\n[PARAMETER]\nLMAX=9999\nBRIG=150\nMIRR=1\n");
                f.close();
                window->profiles().butLoadProfileClick();
                break;
            }
            case Op::Reset:
                for (const SimParam &p : simFactoryParameters())
                    allowed[p.tag].insert(p.value);
                window->findChild<QPushButton *>("butDefault")->click();
                break;
            case Op::Open:
                break;
            }
        }
        expectState(fault, expectedError(op, fault, k), what, k);
        expectNothingUnread(what, k);
        if (HasFatalFailure() || HasFailure())
            return;
    }
}

// Identification is two commands, the load 21 reads; each command is one
// set and one get. A send of two parameters reads each before it writes it
// (eight transfers), the profile's two writes as many before its
// read-back, and a reset prepares, resets and reads back.
TEST_F(FaultSweep, Open) { sweep(Op::Open, Fault::Fail, 4 + 42); }
TEST_F(FaultSweep, OpenUnplugged) { sweep(Op::Open, Fault::Unplug, 4 + 42); }
TEST_F(FaultSweep, Send) { sweep(Op::Send, Fault::Fail, 8); }
TEST_F(FaultSweep, SendUnplugged) { sweep(Op::Send, Fault::Unplug, 8); }
TEST_F(FaultSweep, ProfileLoad) { sweep(Op::ProfileLoad, Fault::Fail, 8 + 42); }
TEST_F(FaultSweep, ProfileLoadUnplugged) { sweep(Op::ProfileLoad, Fault::Unplug, 8 + 42); }
TEST_F(FaultSweep, Reset) { sweep(Op::Reset, Fault::Fail, 4 + 42); }
TEST_F(FaultSweep, ResetUnplugged) { sweep(Op::Reset, Fault::Unplug, 4 + 42); }

} // namespace
