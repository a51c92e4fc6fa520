#include "test_main_support.h"

#include "ui/main/ProfileDialogs.h"
#include "ui/main/ShortcutHints.h"

#include "core/files/SettingsFile.h"
#include "ui/dialogs/uAbout.h"
#include "ui/dialogs/uDebug.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>

namespace {

using SettingsTest = MainWindowTest;

int currentDpi()
{
    return qRound(QGuiApplication::primaryScreen()->logicalDotsPerInch());
}

QTabWidget *pages(const TMain &w)
{
    return w.findChild<QTabWidget *>(QStringLiteral("pageConfig"));
}

TEST_F(SettingsTest, FrameHasTitleToolBarAndFixedSize)
{
    create();
    EXPECT_EQ(window->windowTitle(), "CORVANE Config Tool v1.1.4");
    EXPECT_EQ(window->ProgTitle, "CORVANE Config Tool v1.1.4");
    // A display name would be appended to the title of every other window.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    EXPECT_TRUE(window->ProgPath.endsWith('/'));
    EXPECT_EQ(window->settingsPath(), settingsPath());
    EXPECT_FALSE(window->windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_GE(window->width(), 565);
    EXPECT_GE(window->height(), 423);

    // The hint is a translation key: its CR LF must survive the form.
    EXPECT_EQ(find<QCheckBox>("chkAutoSend")->toolTip(),
              "Auto send changes to CORVANE\r\nafter an idle time of 10 seconds");

    // Nothing of the file is touched before the window is shown.
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(SettingsTest, FirstStartTakesTheDefaults)
{
    start();
    EXPECT_TRUE(window->devices().SaveSnr.isEmpty());
    EXPECT_EQ(window->storedLanguage, "en");
    EXPECT_FALSE(find<QCheckBox>("chkAutoSend")->isChecked());
    EXPECT_EQ(pages(*window)->currentIndex(), 0);
    // Without developer mode the debug window stays hidden.
    EXPECT_FALSE(window->debug()->isVisible());
    EXPECT_FALSE(window->about()->isVisible());
}

TEST_F(SettingsTest, StoredValuesAreRead)
{
    writeSettings("[CONFIG]\nDEVICE=B2\nLANGUAGE=de\nAUTOSEND=yes\nTABACTIVE=2\n");
    start();
    EXPECT_EQ(window->devices().SaveSnr, "B2");
    EXPECT_EQ(window->storedLanguage, "de");
    EXPECT_TRUE(find<QCheckBox>("chkAutoSend")->isChecked());
    EXPECT_EQ(pages(*window)->currentIndex(), 2);
    EXPECT_FALSE(find<QStatusBar>("sBar")->findChild<QLabel *>()) << "no note about unreadable settings";
}

TEST_F(SettingsTest, ClosingWritesPlacementAndConfig)
{
    writeSettings("[CONFIG]\nLANGUAGE=de\nAUTOSEND=yes\n");
    bus.add(SimControllerModel::sane(1));
    start();
    ASSERT_TRUE(isOpen("SIM0001"));
    pages(*window)->setCurrentIndex(3);

    window->close();
    const QRect frame = window->frameGeometry();
    pages(*window)->setCurrentIndex(1); // closed: its end writes nothing more
    window.reset();

    SettingsFile file(settingsPath());
    const ConfigSettings c = file.readConfig();
    EXPECT_EQ(c.device, "SIM0001");
    EXPECT_EQ(c.language, "de");
    EXPECT_TRUE(c.autoSend);
    EXPECT_EQ(c.tabActive, 3);
    EXPECT_TRUE(settingsText().contains("AUTOSEND=TRUE"));

    const WindowPlacement p = file.readPlacement();
    EXPECT_EQ(p.showCmd, WindowPlacement::ShowNormal);
    EXPECT_EQ(p.pixelsPerInch, currentDpi());
    ASSERT_TRUE(p.normPos.has_value());
    EXPECT_EQ(p.normPos->left, frame.left());
    EXPECT_EQ(p.normPos->top, frame.top());
    EXPECT_EQ(p.normPos->right - p.normPos->left, frame.width());
}

TEST_F(SettingsTest, SettingsThatCouldNotBeReadAreNamedAndKeptAsTheyAre)
{
    const QByteArray tooLarge = "[CONFIG]\nLANGUAGE=" + QByteArray(IniFile::MaxFileSize, 'd') + "\n";
    writeSettings(tooLarge);
    start();
    EXPECT_EQ(window->storedLanguage, "en");
    const QLabel *note = find<QStatusBar>("sBar")->findChild<QLabel *>();
    ASSERT_TRUE(note);
    EXPECT_EQ(note->text(), "Settings are not saved: Cannot read " + settingsPath() + ": larger than 4194304 bytes");
    window->close();
    EXPECT_EQ(settingsText(), tooLarge);
}

TEST_F(SettingsTest, ClosingWithoutDeviceWritesAnEmptyDevice)
{
    writeSettings("[CONFIG]\nDEVICE=B2\n");
    start();
    window->ButExitClick();
    EXPECT_TRUE(SettingsFile(settingsPath()).readConfig().device.isEmpty());
    EXPECT_TRUE(settingsText().contains("AUTOSEND=FALSE"));
}

TEST_F(SettingsTest, StoredPositionAppliesOnlyAtTheSameResolutionAndOnAScreen)
{
    const QByteArray at = "[Main]\nShowCmd=1\nNormPos=40,30,600,480\nPixelsPerInch=";
    writeSettings(at + QByteArray::number(currentDpi()) + "\n");
    start();
    EXPECT_EQ(window->frameGeometry().topLeft(), QPoint(40, 30));
    window.reset();

    writeSettings(at + QByteArray::number(currentDpi() + 24) + "\n");
    start();
    EXPECT_NE(window->frameGeometry().topLeft(), QPoint(40, 30));
    window.reset();

    writeSettings("[Main]\nShowCmd=1\nNormPos=30000,30000,30565,30423\nPixelsPerInch="
                  + QByteArray::number(currentDpi()) + "\n");
    start();
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry().center()));
}

} // namespace

namespace {

// Mean lightness of the icon's visible pixels, 0 (black) to 255 (white).
int iconLightness(const QIcon &icon)
{
    const QImage img = icon.pixmap(QSize(16, 16)).toImage().convertToFormat(QImage::Format_ARGB32);
    qint64 sum = 0, n = 0;
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x)
            if (qAlpha(img.pixel(x, y)) > 128) {
                sum += qGray(img.pixel(x, y));
                ++n;
            }
    return n ? int(sum / n) : -1;
}

} // namespace

TEST_F(SettingsTest, ShortcutsIconsAndNamesOfTheToolBar)
{
    QList<ProfileDialogs::Kind> asked;
    ProfileDialogs::setTestResponder([&](ProfileDialogs::Kind kind, const QString &) {
        asked << kind;
        return QString();
    });
    bus.addSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));

    // The standard keys reach the tool buttons, and the tool tips name them.
    // A shortcut presses its button visibly, which takes a moment.
    QTest::keySequence(window.get(), QKeySequence::Open);
    waitFor([&] { return asked.size() == 1; });
    QTest::keySequence(window.get(), QKeySequence::Save);
    waitFor([&] { return asked.size() == 2; });
    EXPECT_EQ(asked, (QList<ProfileDialogs::Kind>{ProfileDialogs::Kind::Open, ProfileDialogs::Kind::Save}));
    ProfileDialogs::resetTestResponder();
    EXPECT_EQ(ShortcutHints::toolTipOf(window->butLoadProfile),
              "Open config (" + QKeySequence(QKeySequence::Open).toString(QKeySequence::NativeText) + ")");
    EXPECT_EQ(window->ToolButton1->shortcut(), QKeySequence(QKeySequence::Quit));
    EXPECT_EQ(window->ToolButton7->shortcut(), QKeySequence(QKeySequence::HelpContents));
    EXPECT_EQ(find<QPushButton>("ButSaveConfig")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
    EXPECT_EQ(window->ToolButton1->accessibleName(), "Exit");

    // The window has the program's icon; the Exit glyph follows a dark palette.
    EXPECT_FALSE(window->windowIcon().isNull());
    for (const QSize &size : window->windowIcon().availableSizes())
        EXPECT_EQ(window->windowIcon().pixmap(size, 1.0).size(), size);
    EXPECT_LT(iconLightness(window->ToolButton1->icon()), 128);
    QPalette dark = window->palette();
    dark.setColor(QPalette::Window, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Button, QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::ButtonText, QColor(0xF0, 0xF0, 0xF0));
    window->setPalette(dark);
    EXPECT_GT(iconLightness(window->ToolButton1->icon()), 128);
}
