#include "ui/dialogs/uMessageBox.h"

#include "core/i18n/TranslateText.h"
#include "ui_uMessageBox.h"

#include <QApplication>
#include <QLoggingCategory>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyle>
#include <QStyleOptionButton>

Q_LOGGING_CATEGORY(lcMsgBox, "corvane.ui.msgbox")

namespace {

TMsgBox::Responder g_responder;
QList<TMsgBox::Call> g_calls;
QPointer<TMsgBox> g_box;

const char *const ResultProperty = "resultCode";

// Message texts come with Windows line ends; a plain label wants "\n".
QString normaliseLineEnds(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    return text;
}

} // namespace

TMsgBox::TMsgBox(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::TMsgBox)
{
    ui->setupUi(this);
    FDesignedFont = ui->InfoLabel->font();
    // Title bar without a close box: the box is answered with its buttons.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::MSWindowsFixedSizeDialogHint);

    // Index order: warning, error, information, confirmation.
    const QStyle::StandardPixmap pictures[] = {
        QStyle::SP_MessageBoxWarning,
        QStyle::SP_MessageBoxCritical,
        QStyle::SP_MessageBoxInformation,
        QStyle::SP_MessageBoxQuestion,
    };
    const QSize size(MsgBoxMetrics::ImgSize, MsgBoxMetrics::ImgSize);
    for (QStyle::StandardPixmap sp : pictures)
        IconImg.append(style()->standardIcon(sp, nullptr, this).pixmap(size, devicePixelRatioF()));
}

TMsgBox::~TMsgBox()
{
    delete ui;
}

int TMsgBox::Execute(const QString &MsgText, TMsgDlgType DlgType, const QString &CaptionTitle,
                     TMsgBut Buttons, bool MsgBeep)
{
    if (FBusy) {
        // This box is open further down the stack; answer in a box of its own.
        TMsgBox second(parentWidget());
        second.setAnchor(FAnchor);
        return second.Execute(MsgText, DlgType, CaptionTitle, Buttons, MsgBeep);
    }
    const QScopedValueRollback busy(FBusy, true);

    if (Buttons.isEmpty()) {
        // Without a button the box could only be left with Escape.
        qCWarning(lcMsgBox) << "message box called without buttons, showing Close";
        Buttons = mbClose;
    }
    LayOut(MsgText, DlgType, CaptionTitle, Buttons);

    int result = mrClose;
    if (const Responder responder = g_responder) {
        const Call call = Record(MsgText, DlgType, CaptionTitle, Buttons, MsgBeep);
        g_calls.append(call);
        result = responder(call);
    } else {
        if (MsgBeep)
            QApplication::beep();
        FResult = mrClose;
        exec();
        result = FResult;
    }
    ClearButtons();
    return result;
}

void TMsgBox::setAnchor(QWidget *anchor)
{
    FAnchor = anchor;
}

void TMsgBox::setTestResponder(Responder responder)
{
    g_responder = std::move(responder);
}

void TMsgBox::resetTestResponder()
{
    g_responder = nullptr;
    g_calls.clear();
}

const QList<TMsgBox::Call> &TMsgBox::testCalls()
{
    return g_calls;
}

void TMsgBox::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // Enter presses the first button.
    if (!But.isEmpty())
        But.first()->setFocus(Qt::OtherFocusReason);
}

void TMsgBox::LayOut(const QString &MsgText, TMsgDlgType DlgType, const QString &CaptionTitle,
                     TMsgBut Buttons)
{
    ClearButtons();

    const int icon = MsgKindIcon(DlgType);
    const bool hasIcon = icon >= 0 && icon < IconImg.size();
    ui->Img->setVisible(hasIcon);
    ui->Img->setPixmap(hasIcon ? IconImg.at(icon) : QPixmap());

    setWindowTitle(CaptionTitle.isEmpty() ? TranslateText(QString::fromLatin1(MsgKindTitle(DlgType)))
                                          : CaptionTitle);

    // The desktop's font may have changed since the last call.
    ui->InfoLabel->setFont(messageFont(FDesignedFont, QApplication::font()));
    ui->InfoLabel->setText(normaliseLineEnds(MsgText));
    ui->InfoLabel->adjustSize();

    const MsgBoxLayout layout = computeMsgBoxLayout(ui->InfoLabel->width(), ui->InfoLabel->height(),
                                                    hasIcon, Buttons, ButtonSize(Buttons));
    ui->InfoLabel->move(layout.LabelPos);
    setFixedSize(layout.WindowSize);
    for (const MsgBoxButtonPlan &plan : layout.Buttons)
        AddButton(plan);
    if (!But.isEmpty())
        But.first()->setDefault(true);
    move(Placement(layout.WindowSize));
}

void TMsgBox::AddButton(const MsgBoxButtonPlan &plan)
{
    auto *button = new QPushButton(TranslateText(plan.Caption), this);
    button->setObjectName(plan.Name);
    button->setGeometry(plan.Geometry);
    button->setProperty(ResultProperty, plan.Result);
    connect(button, &QPushButton::clicked, this, [this, result = plan.Result] {
        FResult = result;
        accept();
    });
    button->show();
    But.append(button);
    ButCnt = int(But.size());
}

void TMsgBox::ClearButtons()
{
    // Deleted at once, not later: the next call numbers its buttons from "But1"
    // again and must not find this call's buttons.
    qDeleteAll(But);
    But.clear();
    ButCnt = 0;
}

// Room for the longest caption of the call inside a button's frame, as the
// style draws it at the designed size.
QSize TMsgBox::ButtonSize(TMsgBut Buttons) const
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = QRect(0, 0, MsgBoxMetrics::ButtonWidth, MsgBoxMetrics::ButtonHeight);
    const QSize frame = option.rect.size() - style()->subElementRect(QStyle::SE_PushButtonContents, &option).size();
    QSize size;
    for (const TMsgButtonDef &def : MsgButtonOrder()) {
        if (Buttons.contains(def.Btn))
            size = size.expandedTo(frame + fontMetrics().size(Qt::TextShowMnemonic,
                                                             TranslateText(QString::fromLatin1(def.Caption))));
    }
    return size;
}

QPoint TMsgBox::Placement(QSize size) const
{
    QWidget *anchor = FAnchor ? FAnchor->window() : (parentWidget() ? parentWidget()->window() : nullptr);
    QScreen *screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return pos();
    const QRect area = anchor && anchor->isVisible() ? anchor->frameGeometry() : screen->availableGeometry();
    return placeMsgBox(size, area, screen->availableVirtualGeometry());
}

TMsgBox::Call TMsgBox::Record(const QString &MsgText, TMsgDlgType DlgType, const QString &CaptionTitle,
                              TMsgBut Buttons, bool MsgBeep) const
{
    Call call{MsgText, DlgType, CaptionTitle, Buttons, MsgBeep,
              windowTitle(), size(), pos(), ui->Img->isVisibleTo(this), ui->InfoLabel->geometry(),
              {}, {}, this};
    for (const QPushButton *b : But)
        call.ButtonRows.append({b->objectName(), b->text(), b->property(ResultProperty).toInt(), b->geometry()});
    if (!But.isEmpty())
        call.FocusButton = But.first()->objectName();
    return call;
}

TMsgBox *MsgBox()
{
    if (!g_box)
        g_box = new TMsgBox();
    return g_box;
}

void setMsgBox(TMsgBox *box)
{
    g_box = box;
}

void ShowError(const QString &msg, const QString &caption)
{
    MsgBox()->Execute(msg, mtError, caption, mbClose, true);
}
