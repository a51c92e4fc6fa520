#include "test_main_support.h"

#include "ui/editor/ConfigEditor.h"
#include "core/i18n/LanguageManager.h"
#include "ui/dialogs/uAbout.h"
#include "ui/dialogs/uDebug.h"
#include "ui/i18n/TranslationMarker.h"

#include <QFileInfo>
#include <QGroupBox>
#include <QScreen>
#include <QSpinBox>
#include <QStatusBar>

namespace {
class LanguageWindowTest : public LocalisedWindowTest {
protected:
    void choose(const char *code)
    {
        QComboBox *cb = window->cbLang;
        const int i = cb->findData(QLatin1String(code));
        ASSERT_GE(i, 0);
        cb->setCurrentIndex(i);
        emit cb->activated(i);
    }
    QString groupTitle(const char *name) const { return find<QGroupBox>(name)->title(); }
};
} // namespace

TEST_F(LanguageWindowTest, StoredGermanStartsInGermanAndIsWrittenBack)
{
    writeSettings("[CONFIG]\nLANGUAGE=de\n");
    bus.addSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    EXPECT_EQ(window->cbLang->currentData().toString(), "de");
    EXPECT_EQ(groupTitle("grpColorOrder"), " FARB REIHENF.");
    EXPECT_EQ(find<QComboBox>("cbFirstLed")->itemText(0), "Oben-Links");
    EXPECT_EQ(find<QPushButton>("ButSaveConfig")->text(), "Sende zum CORVANE");
    window->about()->FormShow();
    EXPECT_TRUE(window->about()->findChild<QLabel *>("htLabInfo")->text().startsWith("Konfigurationsprogramm für"));
    EXPECT_EQ(window->about()->findChild<QLabel *>("LabApp")->text(), "CORVANE Config Tool v1.1.4");
    window->close();
    EXPECT_TRUE(settingsText().contains("LANGUAGE=de"));
}

TEST_F(LanguageWindowTest, SwitchingBackAndForthRestoresTextsAndIsNoEdit)
{
    bus.addSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    QComboBox *order = find<QComboBox>("cbLedOrder");
    const int shown = order->currentIndex(); // the walk replaces the items: the selection must stay
    const QList<TCfgData> before = window->session().params();

    choose("de");
    EXPECT_EQ(groupTitle("grpLayout"), " ANORDNUNG");
    EXPECT_EQ(order->itemText(0), "Zeilenweise");
    EXPECT_EQ(order->currentIndex(), shown);
    choose("en");
    EXPECT_EQ(groupTitle("grpLayout"), " LAYOUT");
    EXPECT_EQ(order->itemText(3), "Snake columns");
    choose("de");
    EXPECT_EQ(groupTitle("grpLayout"), " ANORDNUNG");

    EXPECT_EQ(window->session().params(), before);
    EXPECT_FALSE(find<QPushButton>("ButSaveConfig")->isEnabled());
    EXPECT_FALSE(window->editor()->SaveTimer().isActive());
    EXPECT_EQ(window->findChild<QStatusBar *>("sBar")->currentMessage(), QString());
}

TEST_F(LanguageWindowTest, AboutCaptionFollowsTheLanguageFromAGermanLocale)
{
    // German desktop, no settings file: the window starts in English.
    LanguageManager = std::make_unique<TLanguageManager>(*SystemLanguages, QStringLiteral(":/i18n"),
                                                         [] { return QStringLiteral("de_DE"); });
    start();
    for (const char *code : {"", "de", "en"}) {
        if (*code)
            choose(code);
        EXPECT_EQ(window->about()->windowTitle(), QString::fromUtf8(*code == 'd' ? "Über" : "About")) << code;
    }
}

TEST_F(LanguageWindowTest, SwitchedWindowHasTheSizeOfOneStartedInThatLanguage)
{
    bus.addSane(1);
    QHash<QString, QSize> startedSize;
    for (const char *code : {"en", "de"}) {
        writeSettings(QByteArray("[CONFIG]\nLANGUAGE=") + code + "\n");
        start();
        ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
        startedSize[code] = window->size();
        window.reset();
    }
    ASSERT_GT(startedSize["de"].width(), startedSize["en"].width()) << "German needs the wider window";

    writeSettings("[CONFIG]\nLANGUAGE=en\n");
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    for (const char *code : {"de", "en", "de"}) {
        choose(code);
        EXPECT_EQ(window->size(), startedSize[code]) << code;
        EXPECT_EQ(window->minimumSize(), window->maximumSize());
    }
}

// Developer mode: the debug window opens beside, and names the program.
TEST_F(LanguageWindowTest, StartedInGermanIsCentredAndFlankedAtItsGermanSize)
{
    // Within the frame margin, which the platform settles only after showing;
    // the English size would be 20 pixels off centre and overlap by 40.
    writeSettings("[CONFIG]\nLANGUAGE=de\n");
    create(true);
    start();
    const QRect frame = window->frameGeometry();
    const int margin = frame.width() - window->width();
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_LE(qAbs(frame.center().x() - screen.center().x()), margin);
    EXPECT_LE(qAbs(frame.center().y() - screen.center().y()), margin);
    const QPoint debugAt = window->debug()->frameGeometry().topLeft();
    EXPECT_LE(qAbs(debugAt.x() - (frame.left() + frame.width())), margin);
    EXPECT_LE(qAbs(debugAt.y() - frame.top()), margin);
    const QString exe = QFileInfo(QCoreApplication::applicationFilePath()).fileName();
    EXPECT_EQ(window->debug()->lines().value(0), exe + "114");
    // The debug window is never translated, not even as part of the main window.
    EXPECT_TRUE(window->debug()->findChildren<TTranslationMarker *>().isEmpty());
    EXPECT_FALSE(window->about()->findChildren<TTranslationMarker *>().isEmpty());
}

TEST_F(LanguageWindowTest, AccessibleNamesAndQtTextsFollowTheLanguage)
{
    bus.addSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    // Every input control of the editor has a name of its own.
    QSet<QString> names;
    const auto controls = find<QTabWidget>("pageConfig")->findChildren<QWidget *>();
    int named = 0;
    for (QWidget *w : controls) {
        if (!qobject_cast<QComboBox *>(w) && !qobject_cast<QSpinBox *>(w) && !qobject_cast<QCheckBox *>(w))
            continue;
        ++named;
        EXPECT_FALSE(w->accessibleName().isEmpty()) << w->objectName().toStdString();
        names.insert(w->accessibleName());
    }
    EXPECT_EQ(names.size(), named) << "names repeat";
    EXPECT_EQ(find<QComboBox>("cbLedCol2")->accessibleName(), "COLOR ORDER, CH3");
    EXPECT_EQ(window->butLoadProfile->accessibleName(), "Open config");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");

    choose("de");
    EXPECT_EQ(find<QComboBox>("cbLedCol2")->accessibleName(), groupTitle("grpColorOrder").trimmed() + ", CH3");
    EXPECT_EQ(window->butLoadProfile->accessibleName(), window->butLoadProfile->toolTip());
    EXPECT_NE(window->butLoadProfile->toolTip(), "Open config");
    // Qt's own dialogs speak German too (Debian's qt6-translations-l10n).
    EXPECT_NE(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
    choose("en");
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), "Look in:");
}

// A failed state's explanation follows every language switch.
TEST_F(LanguageWindowTest, FailedStateExplanationFollowsTheLanguage)
{
    writeSettings("[CONFIG]\nLANGUAGE=de\n");
    bus.add(SimControllerModel::sane(1))->faults().readStatus["BRIG"] = 0xC4;
    start();
    for (const char *code : {"de", "en", "de"}) {
        if (window->cbLang->currentData().toString() != code)
            choose(code);
        const bool de = QLatin1String(code) == "de";
        EXPECT_EQ(text("labFailedTitle"), de ? "Die Konfiguration dieses CORVANE konnte nicht gelesen werden"
                                             : "The configuration of this CORVANE could not be read");
        EXPECT_EQ(find<QPushButton>("butRetry")->text(), de ? "Erneut versuchen" : "Retry");
    }
}
