// The editor's controls take only what the user meant: typed numbers clamp
// into the range, the wheel reaches only a focused control, and the blank
// bit clock entry cannot be chosen.
#include "ui/editor/ConfigEditorForm.h"
#include "ui_ConfigEditor.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

class EditorInputTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        form.show();
        QApplication::setActiveWindow(&form);
    }
    template <typename T> T *control(const char *name) { return form.findChild<T *>(QLatin1String(name)); }

    ConfigEditorForm form;
};

} // namespace

TEST_F(EditorInputTest, TypedValuesClampIntoTheRange)
{
    struct Row {
        const char *spin;
        const char *typed;
        int whileTyping;
        int kept; // after Return
    };
    const Row rows[] = {
        {"edBright", "200", 200, 200},         {"edBright", "201", 200, 200},
        {"edBright", "250", 200, 200},         {"edBright", "15", 15, 15},
        {"edStripeCount", "1500", 1024, 1024}, {"edStartupB", "99999999999999999999", 255, 255},
        // Below the minimum a next digit may still follow; leaving clamps.
        {"edWS2812per", "5", 100, 50},         {"edWS2812per", "51", 51, 51},
    };
    for (const Row &row : rows) {
        QSpinBox *spin = control<QSpinBox>(row.spin);
        spin->setValue(100);
        spin->selectAll();
        QTest::keyClicks(spin, QLatin1String(row.typed));
        EXPECT_EQ(spin->value(), row.whileTyping) << row.spin << " " << row.typed;
        QTest::keyClick(spin, Qt::Key_Return);
        EXPECT_EQ(spin->value(), row.kept) << row.spin << " " << row.typed;
        EXPECT_EQ(spin->text(), QString::number(row.kept) + spin->suffix()) << row.spin << " " << row.typed;
    }
}

TEST_F(EditorInputTest, WheelReachesOnlyTheFocusedControl)
{
    QComboBox *list = control<QComboBox>("cbLedProto");
    QSpinBox *spin = control<QSpinBox>("edBright");
    list->setCurrentIndex(0);
    spin->setValue(100);
    for (const bool focused : {false, true}) {
        for (QWidget *w : {static_cast<QWidget *>(list), static_cast<QWidget *>(spin)}) {
            EXPECT_NE(w->focusPolicy(), Qt::WheelFocus) << "the wheel would give it the focus";
            if (focused)
                w->setFocus();
            const QPointF at(w->rect().center());
            QWheelEvent down(at, w->mapToGlobal(at), {}, {0, -120}, Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                             false);
            QApplication::sendEvent(w, &down);
        }
        EXPECT_EQ(list->currentIndex(), focused ? 1 : 0);
        EXPECT_EQ(spin->value(), focused ? 99 : 100);
    }
}

TEST_F(EditorInputTest, TheBlankBitClockShowsButCannotBeChosen)
{
    for (const char *name : {"cbWS2801clk", "cbAPA102clk", "cbLPD8803clk"}) {
        QComboBox *clock = control<QComboBox>(name);
        ASSERT_EQ(clock->count(), 9) << name;
        clock->setCurrentIndex(8); // a controller's value
        EXPECT_EQ(clock->currentText(), QString()) << name;
        clock->setCurrentIndex(6);
        QTest::keyClick(clock, Qt::Key_Down);
        EXPECT_EQ(clock->currentIndex(), 7) << name;
        QTest::keyClick(clock, Qt::Key_Down);
        QTest::keyClick(clock, Qt::Key_End);
        EXPECT_EQ(clock->currentIndex(), 7) << name;
        // Nor from the open list.
        EXPECT_FALSE(clock->model()->flags(clock->model()->index(8, 0)) & Qt::ItemIsEnabled) << name;
    }
}
