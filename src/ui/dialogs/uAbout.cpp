#include "ui/dialogs/uAbout.h"

#include "core/i18n/EmbeddedTexts.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/AboutInfo.h"
#include "ui/dialogs/ProductPicture.h"
#include "ui/widgets/ReadableColour.h"
#include "ui_uAbout.h"

#include <QApplication>
#include <QEvent>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

#include <algorithm>

Q_LOGGING_CATEGORY(lcAbout, "corvane.ui.about")

namespace {
// The designed layout: the text column, the gaps below each text, the
// margin to the right and bottom edges, and the Close button.
constexpr int ColumnWidth = 193;
constexpr int TitleLeft = 114;
constexpr int TextLeft = 120;
constexpr int TitleTop = 12;
constexpr int GapAfterTitle = 6;
constexpr int GapAfterInfo = 6;
constexpr int GapBetweenLinks = 2;
constexpr int GapBeforeButton = 8;
constexpr int EdgeMargin = 11;
constexpr QSize ButtonSize(83, 25);
constexpr QSize ClientSize(324, 226);
} // namespace

TAbout::TAbout(QWidget *parent)
    : QDialog(parent)
    , m_ui(new Ui::TAbout)
{
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The caption stays the form's English text: the language walk
    // translates from it, and from a caption translated here it could find
    // no way back to another language.

    m_ui->LabWeb->setText(QString::fromUtf8(AboutInfo::HomeCaption));
    m_ui->LabWeb->setUrl(QUrl(QString::fromUtf8(AboutInfo::HomeUrl)));
    m_ui->LabSupport->setText(QString::fromUtf8(AboutInfo::SupportCaption));
    m_ui->LabSupport->setUrl(QUrl(QString::fromUtf8(AboutInfo::SupportUrl)));

    connect(m_ui->LabWeb, &LinkLabel::activated, this, &TAbout::openLink);
    connect(m_ui->LabSupport, &LinkLabel::activated, this, &TAbout::openLink);
    connect(m_ui->ButClose, &QPushButton::clicked, this, &TAbout::butCloseClick);
    colourTitle();
    fitToTexts();
}

TAbout::~TAbout()
{
    delete m_ui;
}

void TAbout::FormShow()
{
    m_ui->LabApp->setText(m_applicationTitle.isEmpty() ? QGuiApplication::applicationName() : m_applicationTitle);
    m_ui->htLabInfo->setText(TranslateText(AboutInfoText));
    fitToTexts();
}

// The designed places hold the texts at the designed font. A larger
// desktop font or a longer translation moves what follows down and makes
// the text column wider, and the window grows with them; it never shrinks
// below its designed size.
void TAbout::fitToTexts()
{
    const int column = std::max({ColumnWidth, m_ui->LabWeb->sizeHint().width(), m_ui->LabSupport->sizeHint().width()});
    // Places a label at its designed height or the one its text needs;
    // returns its bottom edge.
    const auto place = [column](QLabel *label, int left, int top, int designedHeight) {
        const int needed = label->wordWrap() ? label->heightForWidth(column) : label->sizeHint().height();
        label->setGeometry(left, top, column, std::max(designedHeight, needed));
        return top + label->height();
    };
    int y = place(m_ui->LabApp, TitleLeft, TitleTop, 49) + GapAfterTitle;
    y = place(m_ui->htLabInfo, TextLeft, y, 73) + GapAfterInfo;
    y = place(m_ui->LabWeb, TextLeft, y, 17) + GapBetweenLinks;
    y = place(m_ui->LabSupport, TextLeft, y, 17) + GapBeforeButton;
    const QSize button = m_ui->ButClose->sizeHint().expandedTo(ButtonSize);
    const QSize client = QSize(TextLeft + column + EdgeMargin, y + button.height() + EdgeMargin).expandedTo(ClientSize);
    m_ui->ButClose->setGeometry(QRect(QPoint(client.width() - EdgeMargin - button.width(), y), button));
    m_ui->Panel1->setGeometry(QRect(QPoint(0, 0), client));
    m_ui->Panel2->resize(m_ui->Panel2->width(), client.height() - 2);
    setFixedSize(client);
}

// The title is black by design, which a dark theme's background would swallow.
void TAbout::colourTitle()
{
    QPalette p = m_ui->LabApp->palette();
    p.setColor(QPalette::WindowText, readableOn(Qt::black, palette().color(QPalette::Window),
                                                palette().color(QPalette::WindowText)));
    m_ui->LabApp->setPalette(p);
}

void TAbout::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        colourTitle();
    else if (event->type() == QEvent::FontChange)
        fitToTexts();
}

void TAbout::showEvent(QShowEvent *event)
{
    // Drawn when first shown, at the screen's pixel ratio: most runs never
    // open this window.
    if (const QPixmap shown = m_ui->Image1->pixmap(); shown.isNull() || shown.devicePixelRatio() != devicePixelRatioF())
        m_ui->Image1->setPixmap(productPicture(devicePixelRatioF()));
    FormShow();
    QDialog::showEvent(event);
}

void TAbout::butCloseClick()
{
    done(QDialog::Accepted);
}

void TAbout::openLink(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcAbout) << "could not open" << url.toString();
}
