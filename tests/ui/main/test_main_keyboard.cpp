#include "test_main_support.h"

#include "ui/editor/ConfigEditorForm.h"

TEST_F(MainWindowTest, TabFollowsTheReadingOrder)
{
    bus.AddSane(1);
    start();
    ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
    QList<QWidget *> order;
    QWidget *w = cbHid();
    do {
        if ((w->focusPolicy() & Qt::TabFocus) && w->isVisible())
            order << w;
        w = w->nextInFocusChain();
    } while (w != cbHid());
    // The controller, the tool bar, the pages, the send controls.
    const QList<QWidget *> head{cbHid(), window->ToolButton1, window->butLoadProfile, window->butSaveProfile,
                                window->cbLang, window->ToolButton7};
    const QList<QWidget *> tail{find<QWidget>("chkAutoSend"), find<QWidget>("ButSaveConfig")};
    ASSERT_GT(order.size(), head.size() + tail.size());
    EXPECT_EQ(order.first(head.size()), head);
    EXPECT_EQ(order.last(tail.size()), tail);
    for (QWidget *page : order.sliced(head.size(), order.size() - head.size() - tail.size()))
        EXPECT_TRUE(window->EditorForm()->isAncestorOf(page)) << page->objectName().toStdString();
}
