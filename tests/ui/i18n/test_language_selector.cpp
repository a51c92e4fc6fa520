#include "ui/i18n/LanguageIcons.h"
#include "core/i18n/LanguageManager.h"
#include "ui/i18n/LanguageSelector.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {
class LanguageSelectorTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        initLocalisation();
        QStringList ids;
        for (const TLanguage *l : *SystemLanguages)
            ids << l->ID;
        icons = std::make_unique<TLanguageIcons>(ids);
        determined = LanguageManager->CurrentLanguage;
    }
    void TearDown() override
    {
        icons.reset();
        shutdownLocalisation();
    }

    QString selectedCode() const { return combo.currentData().toString(); }

    std::unique_ptr<TLanguageIcons> icons;
    const TLanguage *determined = nullptr;
    QComboBox combo;
};
} // namespace

TEST_F(LanguageSelectorTest, ListsTheAvailableLanguagesWithFlagsFiringNoChange)
{
    QSignalSpy spy(&combo, &QComboBox::currentIndexChanged);
    LanguageSelector::fill(&combo, *icons, QStringLiteral("de"));
    EXPECT_EQ(spy.count(), 0);
    ASSERT_EQ(combo.count(), 2);
    QStringList names{combo.itemText(0), combo.itemText(1)};
    names.sort();
    EXPECT_EQ(names, (QStringList{"English", "German"}));
    EXPECT_FALSE(combo.itemIcon(0).isNull());
    EXPECT_FALSE(combo.itemIcon(1).isNull());
    EXPECT_EQ(selectedCode(), "de");
}

// Flags are decoded when listed, so one that becomes available after the
// icons were made still shows its flag; one without a flag shows none.
TEST_F(LanguageSelectorTest, ALanguageListedLaterGetsItsFlag)
{
    LanguageSelector::fill(&combo, *icons, QStringLiteral("de"));
    for (const QString &code : {QStringLiteral("fr"), QStringLiteral("eo")}) {
        TLanguage *later = SystemLanguages->findLanguageExact(code);
        ASSERT_TRUE(later && !later->Available) << code.toStdString();
        later->Available = true;
        LanguageSelector::fill(&combo, *icons, QStringLiteral("de"));
        const int item = combo.findData(code);
        ASSERT_GE(item, 0);
        EXPECT_EQ(combo.itemIcon(item).isNull(), code == QStringLiteral("eo")) << code.toStdString();
    }
}

TEST_F(LanguageSelectorTest, StoredCodeIsComparedExactly)
{
    ASSERT_TRUE(determined);
    LanguageSelector::fill(&combo, *icons, QStringLiteral("DE"));
    EXPECT_EQ(selectedCode(), determined->ID);
    LanguageSelector::fill(&combo, *icons, QStringLiteral("xx"));
    EXPECT_EQ(selectedCode(), determined->ID);
    LanguageSelector::fill(&combo, *icons, QStringLiteral("en"));
    EXPECT_EQ(selectedCode(), "en");
}

TEST_F(LanguageSelectorTest, ApplySwitchesEveryWindowBackAndForth)
{
    QWidget window;
    auto *group = new QGroupBox(QStringLiteral(" COLOR ORDER"), &window);
    auto *label = new QLabel(QStringLiteral("Serial Number"), group);
    QWidget second;
    auto *close = new QLabel(QStringLiteral("Close"), &second);

    LanguageSelector::fill(&combo, *icons, QStringLiteral("de"));
    LanguageSelector::apply(&combo, {&window, &second});
    EXPECT_EQ(LanguageSelector::currentCode(), "de");
    EXPECT_EQ(group->title(), " FARB REIHENF.");
    EXPECT_EQ(label->text(), "Seriennummer");
    EXPECT_EQ(close->text(), "Schliessen");

    combo.setCurrentIndex(combo.findData(QStringLiteral("en")));
    LanguageSelector::apply(&combo, {&window, &second});
    EXPECT_EQ(group->title(), " COLOR ORDER");
    EXPECT_EQ(label->text(), "Serial Number");
    EXPECT_EQ(close->text(), "Close");
}
