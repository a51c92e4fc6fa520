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
    , m_ui(new Ui::TMsgBox)
{
    m_ui->setupUi(this);
    m_designedFont = m_ui->InfoLabel->font();
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
    delete m_ui;
}

int TMsgBox::Execute(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                     TMsgBut buttons, bool msgBeep)
{
    if (m_busy) {
        // This box is open further down the stack; answer in a box of its own.
        TMsgBox second(parentWidget());
        second.setAnchor(m_anchor);
        return second.Execute(msgText, dlgType, captionTitle, buttons, msgBeep);
    }
    const QScopedValueRollback busy(m_busy, true);

    if (buttons.isEmpty()) {
        // Without a button the box could only be left with Escape.
        qCWarning(lcMsgBox) << "message box called without buttons, showing Close";
        buttons = mbClose;
    }
    layOut(msgText, dlgType, captionTitle, buttons);

    int result = mrClose;
    if (const Responder responder = g_responder) {
        const Call call = record(msgText, dlgType, captionTitle, buttons, msgBeep);
        g_calls.append(call);
        result = responder(call);
    } else {
        if (msgBeep)
            QApplication::beep();
        m_result = mrClose;
        exec();
        result = m_result;
    }
    clearButtons();
    return result;
}

void TMsgBox::setAnchor(QWidget *anchor)
{
    m_anchor = anchor;
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

void TMsgBox::layOut(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                     TMsgBut buttons)
{
    clearButtons();

    const int icon = msgKindIcon(dlgType);
    const bool hasIcon = icon >= 0 && icon < IconImg.size();
    m_ui->Img->setVisible(hasIcon);
    m_ui->Img->setPixmap(hasIcon ? IconImg.at(icon) : QPixmap());

    setWindowTitle(captionTitle.isEmpty() ? TranslateText(QString::fromLatin1(msgKindTitle(dlgType)))
                                          : captionTitle);

    // The desktop's font may have changed since the last call.
    m_ui->InfoLabel->setFont(messageFont(m_designedFont, QApplication::font()));
    m_ui->InfoLabel->setText(normaliseLineEnds(msgText));
    m_ui->InfoLabel->adjustSize();

    const MsgBoxLayout layout = computeMsgBoxLayout(m_ui->InfoLabel->width(), m_ui->InfoLabel->height(),
                                                    hasIcon, buttons, buttonSize(buttons));
    m_ui->InfoLabel->move(layout.labelPos);
    setFixedSize(layout.windowSize);
    for (const MsgBoxButtonPlan &plan : layout.buttons)
        addButton(plan);
    if (!But.isEmpty())
        But.first()->setDefault(true);
    move(placement(layout.windowSize));
}

void TMsgBox::addButton(const MsgBoxButtonPlan &plan)
{
    auto *button = new QPushButton(TranslateText(plan.caption), this);
    button->setObjectName(plan.name);
    button->setGeometry(plan.geometry);
    button->setProperty(ResultProperty, plan.result);
    connect(button, &QPushButton::clicked, this, [this, result = plan.result] {
        m_result = result;
        accept();
    });
    button->show();
    But.append(button);
    ButCnt = int(But.size());
}

void TMsgBox::clearButtons()
{
    // Deleted at once, not later: the next call numbers its buttons from "But1"
    // again and must not find this call's buttons.
    qDeleteAll(But);
    But.clear();
    ButCnt = 0;
}

// Room for the longest caption of the call inside a button's frame, as the
// style draws it at the designed size.
QSize TMsgBox::buttonSize(TMsgBut buttons) const
{
    QStyleOptionButton option;
    option.initFrom(this);
    option.rect = QRect(0, 0, MsgBoxMetrics::ButtonWidth, MsgBoxMetrics::ButtonHeight);
    const QSize frame = option.rect.size() - style()->subElementRect(QStyle::SE_PushButtonContents, &option).size();
    QSize size;
    for (const MsgButtonDef &def : msgButtonOrder()) {
        if (buttons.contains(def.btn))
            size = size.expandedTo(frame + fontMetrics().size(Qt::TextShowMnemonic,
                                                             TranslateText(QString::fromLatin1(def.caption))));
    }
    return size;
}

QPoint TMsgBox::placement(QSize size) const
{
    QWidget *anchor = m_anchor ? m_anchor->window() : (parentWidget() ? parentWidget()->window() : nullptr);
    QScreen *screen = anchor ? anchor->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return pos();
    const QRect area = anchor && anchor->isVisible() ? anchor->frameGeometry() : screen->availableGeometry();
    return placeMsgBox(size, area, screen->availableVirtualGeometry());
}

TMsgBox::Call TMsgBox::record(const QString &msgText, TMsgDlgType dlgType, const QString &captionTitle,
                              TMsgBut buttons, bool msgBeep) const
{
    Call call{msgText, dlgType, captionTitle, buttons, msgBeep,
              windowTitle(), size(), pos(), m_ui->Img->isVisibleTo(this), m_ui->InfoLabel->geometry(),
              {}, {}, this};
    for (const QPushButton *b : But)
        call.buttonRows.append({b->objectName(), b->text(), b->property(ResultProperty).toInt(), b->geometry()});
    if (!But.isEmpty())
        call.focusButton = But.first()->objectName();
    return call;
}

TMsgBox *msgBox()
{
    if (!g_box)
        g_box = new TMsgBox();
    return g_box;
}

void setMsgBox(TMsgBox *box)
{
    g_box = box;
}

void showError(const QString &msg, const QString &caption)
{
    msgBox()->Execute(msg, mtError, caption, mbClose, true);
}
