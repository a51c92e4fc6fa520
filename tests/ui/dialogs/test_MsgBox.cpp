#include "core/i18n/TranslateText.h"
#include "ui/dialogs/uMessageBox.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class MsgBoxTest : public ::testing::Test
{
protected:
    void SetUp() override { TMsgBox::resetTestResponder(); }
    void TearDown() override
    {
        TMsgBox::resetTestResponder();
        setMsgBox(nullptr);
    }

    // Answers every call with `answer` and returns what the call laid out.
    TMsgBox::Call run(const QString &text, TMsgDlgType type, const QString &caption, TMsgBut buttons,
                      int answer = 1)
    {
        TMsgBox::setTestResponder([answer](const TMsgBox::Call &) { return answer; });
        const int result = box.Execute(text, type, caption, buttons, false);
        EXPECT_EQ(result, answer);
        return TMsgBox::testCalls().last();
    }

    TMsgBox box;
};

QList<QPushButton *> buttonsOf(const TMsgBox &box)
{
    return box.findChildren<QPushButton *>();
}

} // namespace

TEST_F(MsgBoxTest, ReturnsTheAnswerAndRecordsTheCall)
{
    TMsgBox::setTestResponder([](const TMsgBox::Call &) { return 6; });
    EXPECT_EQ(box.Execute("Reset?", mtConfirmation, "Confirm", mbYes | mbNo, true), 6);

    ASSERT_EQ(TMsgBox::testCalls().size(), 1);
    const auto &c = TMsgBox::testCalls().first();
    EXPECT_EQ(c.MsgText, "Reset?");
    EXPECT_EQ(c.DlgType, mtConfirmation);
    EXPECT_EQ(c.CaptionTitle, "Confirm");
    EXPECT_EQ(c.Buttons, mbYes | mbNo);
    EXPECT_TRUE(c.MsgBeep);
    EXPECT_EQ(c.box, &box);
}

TEST_F(MsgBoxTest, TheBoxIsSizedFromTheLabel)
{
    const auto c = run("Device not found", mtError, {}, mbClose);
    EXPECT_EQ(c.labelGeometry.topLeft(), QPoint(68, 8));
    const auto expected = computeMsgBoxLayout(c.labelGeometry.width(), c.labelGeometry.height(), true, mbClose);
    EXPECT_EQ(c.windowSize, expected.windowSize);
    ASSERT_EQ(c.buttonRows.size(), 1);
    EXPECT_EQ(c.buttonRows[0].geometry, expected.buttons[0].geometry);
    EXPECT_EQ(c.buttonRows[0].caption, TranslateText("Close"));

    // Line breaks make a taller box.
    const auto many = run("1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7", mtError, {}, mbClose);
    EXPECT_GT(many.labelGeometry.height(), 5 * c.labelGeometry.height());
    EXPECT_EQ(many.windowSize, computeMsgBoxLayout(many.labelGeometry.width(), many.labelGeometry.height(), true, mbClose).windowSize);
}

// Without a caption the kind gives the title; only the custom kind shows no icon.
TEST_F(MsgBoxTest, TitleAndIconByKindAGivenCaptionIsKept)
{
    const struct {
        TMsgDlgType type;
        const char *title;
        bool icon;
    } kCases[] = {{mtWarning, "Warning", true},           {mtError, "Error", true},
                  {mtInformation, "Information", true},   {mtConfirmation, "Confirmation", true},
                  {mtCustom, "Message", false}};
    for (const auto &c : kCases) {
        const auto call = run("x", c.type, {}, mbOK);
        EXPECT_EQ(call.windowTitle, TranslateText(c.title)) << c.title;
        EXPECT_EQ(call.iconVisible, c.icon) << c.title;
    }
    EXPECT_EQ(run("x", mtError, "Config error", mbOK).windowTitle, "Config error");
}

TEST_F(MsgBoxTest, ButtonsLiveOnlyDuringTheCall)
{
    QStringList seen;
    TMsgBox::setTestResponder([&](const TMsgBox::Call &c) {
        for (const QPushButton *b : buttonsOf(*c.box))
            seen << b->objectName();
        return 7;
    });
    EXPECT_EQ(box.Execute("x", mtConfirmation, {}, mbYes | mbNo | mbAbort, false), 7);
    seen.sort();
    EXPECT_EQ(seen, QStringList({"But1", "But2", "But3"}));
    EXPECT_TRUE(buttonsOf(box).isEmpty());

    // The next call numbers its buttons from the start again.
    const auto next = run("y", mtInformation, {}, mbOK);
    ASSERT_EQ(next.buttonRows.size(), 1);
    EXPECT_EQ(next.buttonRows[0].name, "But1");
    EXPECT_EQ(next.buttonRows[0].result, 1);
}


TEST_F(MsgBoxTest, ACallWhileOpenGoesToASecondBoxAndLeavesTheFirstAlone)
{
    int nestedAnswer = 0;
    const TMsgBox *nestedBox = nullptr;
    QString titleAfter;
    QStringList buttonsAfter;
    TMsgBox::setTestResponder([&](const TMsgBox::Call &c) {
        if (c.MsgText == "inner") {
            nestedBox = c.box;
            return 5;
        }
        // A timer firing while the first box is open.
        nestedAnswer = box.Execute("inner", mtError, {}, mbIgnore, false);
        titleAfter = box.windowTitle();
        for (const QPushButton *b : buttonsOf(box))
            buttonsAfter << b->objectName() + "=" + b->text();
        return 6;
    });

    EXPECT_EQ(box.Execute("outer", mtConfirmation, "Confirm", mbYes | mbNo, false), 6);
    EXPECT_EQ(nestedAnswer, 5);
    EXPECT_NE(nestedBox, &box);
    EXPECT_EQ(titleAfter, "Confirm");
    buttonsAfter.sort();
    EXPECT_EQ(buttonsAfter, QStringList({"But1=" + TranslateText("Yes"), "But2=" + TranslateText("No")}));
    ASSERT_EQ(TMsgBox::testCalls().size(), 2);
    EXPECT_EQ(TMsgBox::testCalls()[1].MsgText, "inner");
}

TEST_F(MsgBoxTest, AnEmptyButtonSetStillOffersClose)
{
    const auto c = run("x", mtError, {}, TMsgBut());
    ASSERT_EQ(c.buttonRows.size(), 1);
    EXPECT_EQ(c.buttonRows[0].result, 2);
}

TEST_F(MsgBoxTest, ShowErrorReportsThroughTheRegisteredBox)
{
    setMsgBox(&box);
    EXPECT_EQ(msgBox(), &box);
    TMsgBox::setTestResponder([](const TMsgBox::Call &) { return 2; });
    showError("Open failed");
    showError("Bad value", "Config error");

    ASSERT_EQ(TMsgBox::testCalls().size(), 2);
    const auto &c = TMsgBox::testCalls()[0];
    EXPECT_EQ(c.box, &box);
    EXPECT_EQ(c.DlgType, mtError);
    EXPECT_EQ(c.Buttons, TMsgBut(mbClose));
    EXPECT_TRUE(c.MsgBeep);
    EXPECT_EQ(c.windowTitle, TranslateText("Error"));
    EXPECT_EQ(TMsgBox::testCalls()[1].windowTitle, "Config error");
}

TEST_F(MsgBoxTest, WithoutARegisteredBoxOneIsMadeOnFirstUse)
{
    TMsgBox *made = msgBox();
    ASSERT_NE(made, nullptr);
    EXPECT_EQ(msgBox(), made);
    delete made;
}

// The real modal path. Each test acts once the modal loop runs; a watchdog
// closes the box, so a failing test can never hang.
class MsgBoxModalTest : public MsgBoxTest
{
protected:
    int execWith(std::function<void(TMsgBox &)> act, TMsgBut buttons = mbYes | mbNo)
    {
        QTimer::singleShot(0, &box, [this, act] {
            acted = true;
            act(box);
        });
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, &box, [this] {
            timedOut = true;
            box.done(QDialog::Rejected);
        });
        watchdog.start(5000);
        return box.Execute("Really?", mtConfirmation, {}, buttons, false);
    }

    void TearDown() override
    {
        EXPECT_TRUE(acted);
        EXPECT_FALSE(timedOut);
        MsgBoxTest::TearDown();
    }

    bool acted = false;
    bool timedOut = false;
};

TEST_F(MsgBoxModalTest, APressedButtonReturnsItsCode)
{
    const int r = execWith([](TMsgBox &b) {
        ASSERT_TRUE(b.isVisible());
        b.findChild<QPushButton *>("But2")->click();
    });
    EXPECT_EQ(r, 7);
    EXPECT_FALSE(box.isVisible());
    EXPECT_TRUE(buttonsOf(box).isEmpty());
}

TEST_F(MsgBoxModalTest, EnterPressesTheFocusedFirstButton)
{
    QString focused;
    const int r = execWith([&focused](TMsgBox &b) {
        QWidget *w = b.focusWidget();
        focused = w ? w->objectName() : QString();
        QKeyEvent press(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
        QApplication::sendEvent(w ? w : &b, &press);
        if (b.isVisible())
            b.done(QDialog::Rejected);
    });
    EXPECT_EQ(focused, "But1");
    EXPECT_EQ(r, 6);
}

TEST_F(MsgBoxModalTest, ClosingWithoutAButtonReturns2)
{
    const int r = execWith([](TMsgBox &b) {
        QKeyEvent esc(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
        QApplication::sendEvent(&b, &esc);
        if (b.isVisible())
            b.done(QDialog::Rejected);
    }, mbOK);
    EXPECT_EQ(r, 2);
}
