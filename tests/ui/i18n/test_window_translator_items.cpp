#include "ui/i18n/WindowTranslator.h"

#include <QComboBox>
#include <QHash>
#include <QLineEdit>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

const QString kOrder = "Linewise\r\nSnake lines\r\nColumnwise\r\nSnake columns\r\n";

const QHash<QString, QString> kGerman = {
    // As the German line-order list is stored: no CR LF after the last line.
    {kOrder, "Zeilenweise\r\nZeilen in Schlangen\r\nSpaltenweise\r\nSpalten in Schlangen"},
};

QString german(const QString &s) { return kGerman.value(s, s); }
QString english(const QString &s) { return s; }

QStringList items(const QComboBox &combo)
{
    QStringList list;
    for (int i = 0; i < combo.count(); ++i)
        list.append(combo.itemText(i));
    return list;
}

// Counts every change notification a handler of the combo box could see.
struct SignalCounter
{
    explicit SignalCounter(QComboBox &combo)
    {
        auto count = [this] { ++fired; };
        QObject::connect(&combo, &QComboBox::currentIndexChanged, count);
        QObject::connect(&combo, &QComboBox::currentTextChanged, count);
        QObject::connect(&combo, &QComboBox::activated, count);
        QObject::connect(&combo, &QComboBox::textActivated, count);
        QObject::connect(&combo, &QComboBox::editTextChanged, count);
        if (combo.lineEdit())
            QObject::connect(combo.lineEdit(), &QLineEdit::textChanged, count);
    }
    int fired = 0;
};

} // namespace

TEST(WindowTranslatorItemsTest, LastLineWithoutLineEndIsStillALineAndSwitchesBack)
{
    QComboBox combo;
    combo.addItems({"Linewise", "Snake lines", "Columnwise", "Snake columns"});
    for (int round = 0; round < 3; ++round) {
        WindowTranslator::translate(&combo, german);
        EXPECT_EQ(items(combo), QStringList({"Zeilenweise", "Zeilen in Schlangen", "Spaltenweise",
                                             "Spalten in Schlangen"}));
        WindowTranslator::translate(&combo, english);
        EXPECT_EQ(items(combo), QStringList({"Linewise", "Snake lines", "Columnwise", "Snake columns"}));
    }
}

TEST(WindowTranslatorItemsTest, SelectionIsKeptAndNoHandlerRuns)
{
    for (bool editable : {false, true}) {
        QComboBox combo;
        combo.setEditable(editable);
        combo.addItems({"Linewise", "Snake lines", "Columnwise", "Snake columns"});
        combo.setCurrentIndex(2);
        SignalCounter counter(combo);
        WindowTranslator::translate(&combo, german);
        EXPECT_EQ(combo.currentIndex(), 2);
        EXPECT_EQ(combo.currentText(), "Spaltenweise");
        WindowTranslator::translate(&combo, english);
        EXPECT_EQ(combo.currentIndex(), 2);
        EXPECT_EQ(combo.currentText(), "Columnwise");
        EXPECT_EQ(counter.fired, 0) << "editable " << editable;
    }
}

TEST(WindowTranslatorItemsTest, DifferentLineCountNeverChangesTheItemCount)
{
    QComboBox shorter;
    shorter.addItems({"One", "Two", "Three"});
    shorter.setCurrentIndex(2);
    WindowTranslator::translate(&shorter, [](const QString &) { return QStringLiteral("Eins\r\nZwei\r\n"); });
    EXPECT_EQ(items(shorter), QStringList({"Eins", "Zwei", "Three"}));
    EXPECT_EQ(shorter.currentIndex(), 2);

    QComboBox longer;
    longer.addItems({"One", "Two"});
    WindowTranslator::translate(&longer, [](const QString &) { return QStringLiteral("Eins\r\nZwei\r\nDrei\r\n"); });
    EXPECT_EQ(items(longer), QStringList({"Eins", "Zwei"}));

    // Switching back still finds the original list from what is shown.
    WindowTranslator::translate(&shorter, english);
    EXPECT_EQ(items(shorter), QStringList({"One", "Two", "Three"}));
}
