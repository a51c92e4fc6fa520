// The editor's controls take only what the user meant: typed numbers clamp
// into the range, the wheel reaches only a focused control, and the blank
// bit clock entry cannot be chosen.
#include "ui/editor/ConfigEditorForm.h"

#include <QApplication>
#include <QComboBox>
#include <QSpinBox>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {
struct EditorInputTest : ::testing::Test {
    EditorInputTest()
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
    // Box, keys typed over its value of 100, its value then, its text after Return.
    const std::tuple<const char *, const char *, int, int> rows[] = {
        {"edBright", "200", 200, 200}, {"edBright", "201", 200, 200}, {"edBright", "15", 15, 15},
        {"edBright", "2x", 2, 2}, // not a digit: refused as before
        {"edStripeCount", "1500", 1024, 1024}, {"edStartupB", "99999999999999999999", 255, 255},
        // Below the minimum a next digit may still follow; leaving clamps.
        {"edWS2812per", "5", 100, 50}, {"edWS2812per", "51", 51, 51}};
    for (const auto &[name, typed, whileTyping, kept] : rows) {
        QSpinBox *spin = control<QSpinBox>(name);
        spin->setValue(100);
        spin->selectAll();
        QTest::keyClicks(spin, QLatin1String(typed));
        EXPECT_EQ(spin->value(), whileTyping) << name << " " << typed;
        QTest::keyClick(spin, Qt::Key_Return);
        EXPECT_EQ(spin->text(), QString::number(kept) + spin->suffix()) << name << " " << typed;
    }
}

TEST_F(EditorInputTest, TheWheelReachesOnlyAFocusedControl)
{
    auto *list = control<QComboBox>("cbLedProto");
    auto *spin = control<QSpinBox>("edBright");
    spin->setValue(100);
    for (const bool focused : {false, true}) {
        for (QWidget *w : std::initializer_list<QWidget *>{list, spin}) {
            EXPECT_NE(w->focusPolicy(), Qt::WheelFocus) << "the wheel would give it the focus";
            if (focused)
                w->setFocus();
            QWheelEvent down({5, 5}, w->mapToGlobal(QPointF(5, 5)), {}, {0, -120}, {}, {}, Qt::NoScrollPhase, false);
            QApplication::sendEvent(w, &down);
        }
        EXPECT_EQ(list->currentIndex(), focused ? 1 : 0);
        EXPECT_EQ(spin->value(), focused ? 99 : 100);
    }
}

TEST_F(EditorInputTest, TheBlankBitClockShowsButCannotBeChosen)
{
    for (const char *name : {"cbWS2801clk", "cbAPA102clk", "cbLPD8803clk"}) {
        auto *clock = control<QComboBox>(name);
        clock->setCurrentIndex(8); // a controller's value
        EXPECT_EQ(clock->currentIndex(), 8) << name;
        clock->setCurrentIndex(6);
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_End})
            QTest::keyClick(clock, key);
        EXPECT_EQ(clock->currentIndex(), 7) << name;
        EXPECT_FALSE(clock->model()->index(8, 0).flags() & Qt::ItemIsEnabled) << name << " in the open list";
    }
}
