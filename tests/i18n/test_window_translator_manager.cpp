// The window walk and the flags driven by the program's own language manager
// and the embedded language project.

#include "i18n/LanguageCatalogue.h"
#include "i18n/LanguageIcons.h"
#include "i18n/LanguageManager.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace {

QStringList items(const QComboBox *combo)
{
    QStringList list;
    for (int i = 0; i < combo->count(); ++i)
        list.append(combo->itemText(i));
    return list;
}

} // namespace

class ManagerTranslationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        initLocalisation();
        ASSERT_TRUE(LanguageManager);
        ASSERT_FALSE(LanguageManager->Projects().empty());

        auto *layout = new QVBoxLayout(&window);
        startup = new QGroupBox(" STARTUP", &window);
        layout->addWidget(startup);
        autoSend = new QCheckBox("Auto Send", &window);
        autoSend->setToolTip("Auto send changes to CORVANE\r\nafter an idle time of 10 seconds");
        layout->addWidget(autoSend);
        firstLed = new QComboBox(&window);
        firstLed->addItems({"Top-Left", "Top-Right", "Bottom-Left", "Bottom-Right"});
        firstLed->setCurrentIndex(3);
        ledOrder = new QComboBox(&window);
        ledOrder->addItems({"Linewise", "Snake lines", "Columnwise", "Snake columns"});
        ledOrder->setCurrentIndex(1);
    }
    void TearDown() override { shutdownLocalisation(); }

    void switchTo(const QString &code)
    {
        LanguageManager->SetLanguage(code);
        LanguageManager->Translate(&window);
    }
    void expectEnglish()
    {
        EXPECT_EQ(startup->title(), " STARTUP");
        EXPECT_EQ(autoSend->text(), "Auto Send");
        EXPECT_EQ(autoSend->toolTip(), "Auto send changes to CORVANE\r\nafter an idle time of 10 seconds");
        EXPECT_EQ(items(firstLed), QStringList({"Top-Left", "Top-Right", "Bottom-Left", "Bottom-Right"}));
        EXPECT_EQ(items(ledOrder), QStringList({"Linewise", "Snake lines", "Columnwise", "Snake columns"}));
    }
    void expectGerman()
    {
        EXPECT_EQ(startup->title(), " PROGRAMMSTART");
        EXPECT_EQ(autoSend->text(), "Automatisch senden");
        EXPECT_EQ(autoSend->toolTip(), "Sende Änderungen zum CORVANE\r\nnach 10 Sekunden Inaktivität");
        EXPECT_EQ(items(firstLed), QStringList({"Oben-Links", "Oben-Rechts", "Unten-Links", "Unten-Rechts"}));
        EXPECT_EQ(items(ledOrder),
                  QStringList({"Zeilenweise", "Zeilen in Schlangen", "Spaltenweise", "Spalten in Schlangen"}));
    }

    QDialog window;
    QGroupBox *startup = nullptr;
    QCheckBox *autoSend = nullptr;
    QComboBox *firstLed = nullptr;
    QComboBox *ledOrder = nullptr;
};

TEST_F(ManagerTranslationTest, GermanEnglishGermanShowsEachLanguageInFull)
{
    switchTo("en");
    expectEnglish();
    switchTo("de");
    expectGerman();
    switchTo("en");
    expectEnglish();
    switchTo("de");
    expectGerman();
    EXPECT_EQ(firstLed->currentIndex(), 3);
    EXPECT_EQ(ledOrder->currentIndex(), 1);
}

TEST_F(ManagerTranslationTest, IgnoreClassListOfTheManagerIsHonoured)
{
    LanguageManager->IgnoreClassList.append(&QComboBox::staticMetaObject);
    switchTo("de");
    EXPECT_EQ(autoSend->text(), "Automatisch senden");
    EXPECT_EQ(firstLed->itemText(0), "Top-Left");
}

TEST_F(ManagerTranslationTest, AvailableLanguagesHaveTheirFlags)
{
    QStringList ids;
    for (const TLanguage *language : *SystemLanguages)
        ids.append(language->ID);
    const TLanguageIcons icons(ids);
    const QImage german = TLanguageIcons::loadFlag("DE").toImage();
    const QImage english = TLanguageIcons::loadFlag("EN").toImage();
    ASSERT_GE(icons.GetIconIndex("de"), 0);
    ASSERT_GE(icons.GetIconIndex("en"), 0);
    EXPECT_EQ(icons.List().at(icons.GetIconIndex("de")).toImage(), german);
    EXPECT_EQ(icons.List().at(icons.GetIconIndex("en")).toImage(), english);
}
