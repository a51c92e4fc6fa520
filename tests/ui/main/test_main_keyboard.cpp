#include "test_main_support.h"

#include "ui/editor/ConfigEditorForm.h"

TEST_F(MainWindowTest, TabFollowsTheReadingOrder)
{
    bus.addSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    // Every stop of the chain, the editor's stops as one.
    QWidget *editor = window->editorForm();
    QList<QWidget *> order;
    QWidget *w = cbHid();
    do {
        QWidget *stop = editor->isAncestorOf(w) ? editor : w;
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible() && (order.isEmpty() || order.last() != stop))
            order << stop;
        w = w->nextInFocusChain();
    } while (w != cbHid());
    EXPECT_EQ(order, (QList<QWidget *>{cbHid(), window->ToolButton1, window->butLoadProfile, window->butSaveProfile,
                                        window->cbLang, window->ToolButton7, editor, find<QWidget>("chkAutoSend"),
                                        find<QWidget>("ButSaveConfig")}));
}
