#pragma once
#include "ui/dialogs/MsgBoxLayout.h"
#include "ui/dialogs/MsgDlgTypes.h"

#include <QDialog>
#include <QList>
#include <QPixmap>
#include <QPointer>

#include <functional>

class QPushButton;
namespace Ui {
class TMsgBox;
}

// The program's own message box: every error and question is shown through
// Execute, which builds the buttons for the call, sizes the box to the text
// and returns the pressed button's result code (2 when closed otherwise).
//
// A call made while this box is already showing (say from a timer) is shown
// in a second, independent box on top; the open box is left untouched and
// each call returns its own answer.
class TMsgBox : public QDialog
{
    Q_OBJECT

public:
    struct ButtonRecord
    {
        QString name;
        QString caption;
        int result;
        QRect geometry;
    };

    // What a call laid out, as a test responder sees it.
    struct Call
    {
        QString MsgText;
        TMsgDlgType DlgType;
        QString CaptionTitle;
        TMsgBut Buttons;
        bool MsgBeep;

        QString windowTitle;
        QSize windowSize;
        QPoint position;
        bool iconVisible;
        QRect labelGeometry;
        QList<ButtonRecord> buttonRows;
        QString focusButton;
        const TMsgBox *box;
    };
    using Responder = std::function<int(const Call &)>;

    explicit TMsgBox(QWidget *parent = nullptr);
    ~TMsgBox() override;

    int Execute(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                TMsgBut buttons, bool msgBeep);

    // The window the box is centred over; without one, its parent's window,
    // else the screen.
    void setAnchor(QWidget *anchor);

    // For tests only: while a responder is set, Execute lays the box out,
    // records the call and returns the responder's answer without showing
    // anything, beeping or entering a modal loop.
    static void setTestResponder(Responder responder);
    static void resetTestResponder();
    static const QList<Call> &testCalls();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void layOut(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                TMsgBut buttons);
    void addButton(const MsgBoxButtonPlan &plan);
    void clearButtons();
    QPoint placement(QSize size) const;
    QSize buttonSize(TMsgBut buttons) const;
    Call record(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                TMsgBut buttons, bool msgBeep) const;

    Ui::TMsgBox *m_ui;
    QList<QPixmap> IconImg;
    QList<QPushButton *> But;
    int ButCnt = 0;
    int m_result = mrClose;
    bool m_busy = false;
    QPointer<QWidget> m_anchor;
    QFont m_designedFont; // of the message text
};

// The one message box of the program. The main window registers the box it
// creates; when none is registered, one is created on first use and kept
// for the rest of the run.
TMsgBox *msgBox();
void setMsgBox(TMsgBox *box);

// The program's way of reporting a failure: an error box with "Close" and a beep.
void showError(const QString &msg, const QString &caption = {});
