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

TEST_F(LanguageSelectorTest, ListsTheAvailableLanguagesWithFlags)
{
    LanguageSelector::Fill(&combo, *icons, QStringLiteral("de"));
    ASSERT_EQ(combo.count(), 2);
    QStringList names{combo.itemText(0), combo.itemText(1)};
    names.sort();
    EXPECT_EQ(names, (QStringList{"English", "German"}));
    EXPECT_FALSE(combo.itemIcon(0).isNull());
    EXPECT_FALSE(combo.itemIcon(1).isNull());
    EXPECT_EQ(selectedCode(), "de");
}

TEST_F(LanguageSelectorTest, StoredCodeIsComparedExactly)
{
    ASSERT_TRUE(determined);
    LanguageSelector::Fill(&combo, *icons, QStringLiteral("DE"));
    EXPECT_EQ(selectedCode(), determined->ID);
    LanguageSelector::Fill(&combo, *icons, QStringLiteral("xx"));
    EXPECT_EQ(selectedCode(), determined->ID);
    LanguageSelector::Fill(&combo, *icons, QStringLiteral("en"));
    EXPECT_EQ(selectedCode(), "en");
}

TEST_F(LanguageSelectorTest, FillingFiresNoChange)
{
    QSignalSpy spy(&combo, &QComboBox::currentIndexChanged);
    LanguageSelector::Fill(&combo, *icons, QStringLiteral("de"));
    EXPECT_EQ(spy.count(), 0);
}

TEST_F(LanguageSelectorTest, ApplySwitchesEveryWindowBackAndForth)
{
    QWidget window;
    auto *group = new QGroupBox(QStringLiteral(" COLOR ORDER"), &window);
    auto *label = new QLabel(QStringLiteral("Serial Number"), group);
    QWidget second;
    auto *close = new QLabel(QStringLiteral("Close"), &second);

    LanguageSelector::Fill(&combo, *icons, QStringLiteral("de"));
    LanguageSelector::Apply(&combo, {&window, &second});
    EXPECT_EQ(LanguageSelector::CurrentCode(), "de");
    EXPECT_EQ(group->title(), " FARB REIHENF.");
    EXPECT_EQ(label->text(), "Seriennummer");
    EXPECT_EQ(close->text(), "Schliessen");

    combo.setCurrentIndex(combo.findData(QStringLiteral("en")));
    LanguageSelector::Apply(&combo, {&window, &second});
    EXPECT_EQ(group->title(), " COLOR ORDER");
    EXPECT_EQ(label->text(), "Serial Number");
    EXPECT_EQ(close->text(), "Close");
}
