#include "ui/dialogs/uAbout.h"

#include "core/i18n/EmbeddedTexts.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/AboutInfo.h"
#include "ui/dialogs/ProductPicture.h"
#include "ui_uAbout.h"

#include <QApplication>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QUrl>

Q_LOGGING_CATEGORY(lcAbout, "corvane.ui.about")

TAbout::TAbout(QWidget *parent)
    : QDialog(parent)
    , ui(new Ui::TAbout)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint
                   | Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(size());
    setWindowTitle(TranslateText(QStringLiteral("About")));

    ui->LabWeb->setText(QString::fromUtf8(AboutInfo::HomeCaption));
    ui->LabWeb->setUrl(QUrl(QString::fromUtf8(AboutInfo::HomeUrl)));
    ui->LabSupport->setText(QString::fromUtf8(AboutInfo::SupportCaption));
    ui->LabSupport->setUrl(QUrl(QString::fromUtf8(AboutInfo::SupportUrl)));

    connect(ui->LabWeb, &LinkLabel::activated, this, &TAbout::OpenLink);
    connect(ui->LabSupport, &LinkLabel::activated, this, &TAbout::OpenLink);
    connect(ui->ButClose, &QPushButton::clicked, this, &TAbout::ButCloseClick);
}

TAbout::~TAbout()
{
    delete ui;
}

void TAbout::FormShow()
{
    ui->LabApp->setText(FApplicationTitle.isEmpty() ? QGuiApplication::applicationName() : FApplicationTitle);
    ui->htLabInfo->setText(TranslateText(AboutInfoText));
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
