#include "test_main_support.h"

#include "ui/editor/ConfigEditor.h"
#include "core/i18n/LanguageManager.h"
#include "ui/dialogs/uAbout.h"

#include <QGroupBox>
#include <QStatusBar>

namespace {
class LanguageWindowTest : public MainWindowTest {
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
    bus.AddSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    EXPECT_EQ(window->cbLang->currentData().toString(), "de");
    EXPECT_EQ(groupTitle("grpColorOrder"), " FARB REIHENF.");
    EXPECT_EQ(find<QComboBox>("cbFirstLed")->itemText(0), "Oben-Links");
    EXPECT_EQ(find<QPushButton>("ButSaveConfig")->text(), "Sende zum CORVANE");
    window->About()->FormShow();
    EXPECT_TRUE(window->About()->findChild<QLabel *>("htLabInfo")->text().startsWith("Konfigurationsprogramm für"));
    EXPECT_EQ(window->About()->findChild<QLabel *>("LabApp")->text(), "CORVANE Config Tool v1.1.4");
    window->close();
    EXPECT_TRUE(settingsText().contains("LANGUAGE=de"));
}

TEST_F(LanguageWindowTest, SwitchingBackAndForthRestoresTextsAndIsNoEdit)
{
    bus.AddSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    QComboBox *order = find<QComboBox>("cbLedOrder");
    const int shown = order->currentIndex(); // the walk replaces the items: the selection must stay
    const QList<TCfgData> before = window->Cfg()->CfgData;

    choose("de");
    EXPECT_EQ(groupTitle("grpLayout"), " ANORDNUNG");
    EXPECT_EQ(order->itemText(0), "Zeilenweise");
    EXPECT_EQ(order->currentIndex(), shown);
    choose("en");
    EXPECT_EQ(groupTitle("grpLayout"), " LAYOUT");
    EXPECT_EQ(order->itemText(3), "Snake columns");
    choose("de");
    EXPECT_EQ(groupTitle("grpLayout"), " ANORDNUNG");

    EXPECT_EQ(window->Cfg()->CfgData, before);
    EXPECT_FALSE(find<QPushButton>("ButSaveConfig")->isEnabled());
    EXPECT_FALSE(window->Editor()->SaveTimer().isActive());
    EXPECT_EQ(window->findChild<QStatusBar *>("sBar")->currentMessage(), QString());
}

TEST_F(LanguageWindowTest, CapitalisedStoredCodeFallsBackToTheDeterminedLanguage)
{
    writeSettings("[CONFIG]\nLANGUAGE=DE\n");
    const QString determined = LanguageManager->CurrentLanguage->ID;
    start();
    EXPECT_EQ(window->cbLang->currentData().toString(), determined);
}
