// The window walk driven by the program's own language manager and the
// embedded language project, whose German line-order list lacks its last CR LF.

#include "core/i18n/LanguageManager.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <gtest/gtest.h>

namespace {

QStringList shown(const QLabel &label, const QComboBox &order)
{
    QStringList texts{label.text()};
    for (int i = 0; i < order.count(); ++i)
        texts.append(order.itemText(i));
    return texts;
}

} // namespace

TEST(ManagerTranslationTest, GermanEnglishGermanShowsEachLanguageInFull)
{
    initLocalisation();
    ASSERT_TRUE(LanguageManager);
    QDialog window;
    QLabel label(" STARTUP", &window);
    QComboBox order(&window);
    order.addItems({"Linewise", "Snake lines", "Columnwise", "Snake columns"});
    order.setCurrentIndex(1);
    const QStringList english = shown(label, order);
    const QStringList german{" PROGRAMMSTART", "Zeilenweise", "Zeilen in Schlangen", "Spaltenweise",
                             "Spalten in Schlangen"};

    for (int round = 0; round < 2; ++round) {
        LanguageManager->SetLanguage("de");
        LanguageManager->Translate(&window);
        EXPECT_EQ(shown(label, order), german);
        LanguageManager->SetLanguage("en");
        LanguageManager->Translate(&window);
        EXPECT_EQ(shown(label, order), english);
    }
    EXPECT_EQ(order.currentIndex(), 1);
    shutdownLocalisation();
}
