#pragma once
#include "core/i18n/LanguageManager.h"
#include "ui/main/LedIndicator.h"
#include "ui/main/DevicePanel.h"
#include "ui/main/ProfileActions.h"
#include "ui/main/uMain.h"
#include "device/SimBus.h"
#include "device/SimController.h"
#include "ui/dialogs/uMessageBox.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

#include <memory>

// The real main window, offscreen, over a simulated bus and a settings file
// in a temporary folder. Message boxes answer through the test seam.
class MainWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        TMsgBox::setTestResponder([this](const TMsgBox::Call &call) {
            return call.DlgType == mtConfirmation ? confirmAnswer : int(mrClose);
        });
    }

    void TearDown() override
    {
        window.reset();
        TMsgBox::resetTestResponder();
    }

    QString settingsPath() const { return dir.filePath(QStringLiteral("CORVANE_Config.ini")); }

    void writeSettings(const QByteArray &text)
    {
        QFile f(settingsPath());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
    }

    QByteArray settingsText() const
    {
        QFile f(settingsPath());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    TMain &create(bool developerMode = false)
    {
        MainSetup setup;
        setup.controllerFactory = [this] { return std::make_unique<SimController>(&bus); };
        setup.settingsPath = settingsPath();
        setup.developerMode = developerMode;
        window = std::make_unique<TMain>(std::move(setup));
        return *window;
    }

    // Shown (placement, settings, parameter set), then the device link
    // started at once instead of after the start-up delay.
    TMain &start()
    {
        if (!window)
            create();
        window->show();
        window->Startup();
        return *window;
    }

    // Lets queued bus announcements reach the window.
    static bool waitFor(const std::function<bool()> &pred, int ms = 3000)
    {
        return QTest::qWaitFor(pred, ms);
    }
    void settle() { QTest::qWait(20); }

    template <typename T> T *find(const char *name) const { return window->findChild<T *>(QLatin1String(name)); }
    QString text(const char *label) const { return find<QLabel>(label)->text(); }
    QComboBox *cbHid() const { return find<QComboBox>("cbHid"); }
    LedIndicator *led() const { return find<LedIndicator>("LED1"); }
    bool editorShown() const { return find<QTabWidget>("pageConfig")->isVisible(); }
    bool noDeviceShown() const { return find<QLabel>("labNoCorvane")->isVisible(); }
    bool isOpen(const QString &serial) const
    {
        return cbHid()->currentText() == serial && editorShown() && led()->isOn()
            && led()->shownColor() == QColor(0, 255, 0);
    }

    // Picks a device as the user does: opening the list, then choosing.
    void pick(int index)
    {
        QComboBox *cb = cbHid();
        cb->showPopup();
        cb->hidePopup();
        cb->setCurrentIndex(index);
        emit cb->activated(index);
    }

    static int commandCount(const SimUnit *unit, uint8_t command)
    {
        int n = 0;
        for (const QByteArray &r : unit->received())
            n += uint8_t(r.at(2)) == command ? 1 : 0;
        return n;
    }

    static QList<QString> errorTexts()
    {
        QList<QString> out;
        for (const TMsgBox::Call &c : TMsgBox::testCalls())
            if (c.DlgType == mtError)
                out << c.MsgText;
        return out;
    }

    int confirmAnswer = mrYes;
    QTemporaryDir dir;
    SimBus bus; // outlives the window
    std::unique_ptr<TMain> window;
};

// The same window with the program's languages loaded.
class LocalisedWindowTest : public MainWindowTest
{
protected:
    void SetUp() override
    {
        initLocalisation();
        MainWindowTest::SetUp();
    }
    void TearDown() override
    {
        MainWindowTest::TearDown();
        shutdownLocalisation();
    }
};
