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
    , ui(new Ui::TAbout)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    // The caption stays the form's English text: the language walk
    // translates from it, and from a caption translated here it could find
    // no way back to another language.

    ui->LabWeb->setText(QString::fromUtf8(AboutInfo::HomeCaption));
    ui->LabWeb->setUrl(QUrl(QString::fromUtf8(AboutInfo::HomeUrl)));
    ui->LabSupport->setText(QString::fromUtf8(AboutInfo::SupportCaption));
    ui->LabSupport->setUrl(QUrl(QString::fromUtf8(AboutInfo::SupportUrl)));

    connect(ui->LabWeb, &LinkLabel::activated, this, &TAbout::OpenLink);
    connect(ui->LabSupport, &LinkLabel::activated, this, &TAbout::OpenLink);
    connect(ui->ButClose, &QPushButton::clicked, this, &TAbout::ButCloseClick);
    ColourTitle();
    FitToTexts();
}

TAbout::~TAbout()
{
    delete ui;
}

void TAbout::FormShow()
{
    ui->LabApp->setText(FApplicationTitle.isEmpty() ? QGuiApplication::applicationName() : FApplicationTitle);
    ui->htLabInfo->setText(TranslateText(AboutInfoText));
    FitToTexts();
}

// The designed places hold the texts at the designed font. A larger
// desktop font or a longer translation moves what follows down and makes
// the text column wider, and the window grows with them; it never shrinks
// below its designed size.
void TAbout::FitToTexts()
{
    const int column = std::max({ColumnWidth, ui->LabWeb->sizeHint().width(), ui->LabSupport->sizeHint().width()});
    // Places a label at its designed height or the one its text needs;
    // returns its bottom edge.
    const auto place = [column](QLabel *label, int left, int top, int designedHeight) {
        const int needed = label->wordWrap() ? label->heightForWidth(column) : label->sizeHint().height();
        label->setGeometry(left, top, column, std::max(designedHeight, needed));
        return top + label->height();
    };
    int y = place(ui->LabApp, TitleLeft, TitleTop, 49) + GapAfterTitle;
    y = place(ui->htLabInfo, TextLeft, y, 73) + GapAfterInfo;
    y = place(ui->LabWeb, TextLeft, y, 17) + GapBetweenLinks;
    y = place(ui->LabSupport, TextLeft, y, 17) + GapBeforeButton;
    const QSize button = ui->ButClose->sizeHint().expandedTo(ButtonSize);
    const QSize client = QSize(TextLeft + column + EdgeMargin, y + button.height() + EdgeMargin).expandedTo(ClientSize);
    ui->ButClose->setGeometry(QRect(QPoint(client.width() - EdgeMargin - button.width(), y), button));
    ui->Panel1->setGeometry(QRect(QPoint(0, 0), client));
    ui->Panel2->resize(ui->Panel2->width(), client.height() - 2);
    setFixedSize(client);
}

// The title is black by design, which a dark theme's background would swallow.
void TAbout::ColourTitle()
{
    QPalette p = ui->LabApp->palette();
    p.setColor(QPalette::WindowText, readableOn(Qt::black, palette().color(QPalette::Window),
                                                palette().color(QPalette::WindowText)));
    ui->LabApp->setPalette(p);
}

void TAbout::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        ColourTitle();
    else if (event->type() == QEvent::FontChange)
        FitToTexts();
}

void TAbout::showEvent(QShowEvent *event)
{
    // Drawn when first shown, at the screen's pixel ratio: most runs never
    // open this window.
    if (const QPixmap shown = ui->Image1->pixmap(); shown.isNull() || shown.devicePixelRatio() != devicePixelRatioF())
        ui->Image1->setPixmap(ProductPicture(devicePixelRatioF()));
    FormShow();
    QDialog::showEvent(event);
}

void TAbout::ButCloseClick()
{
    done(QDialog::Accepted);
}

void TAbout::OpenLink(const QUrl &url)
{
    if (!QDesktopServices::openUrl(url))
        qCWarning(lcAbout) << "could not open" << url.toString();
}
