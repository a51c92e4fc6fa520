#pragma once
#include <QDialog>

class QUrl;
namespace Ui {
class TAbout;
}

// The About window: program title with version, a short info text, two
// links to the maker's pages and a picture of the controller.
class TAbout : public QDialog
{
    Q_OBJECT

public:
    explicit TAbout(QWidget *parent = nullptr);
    ~TAbout() override;

    // Fills the title and the info text; runs on every showing so a language
    // switched meanwhile is picked up.
    void FormShow();

    // The program title with its version, shown on top (the main window's
    // title). Kept here rather than as the application's display name, which
    // Qt would append to every window's title.
    void setApplicationTitle(const QString &title) { m_applicationTitle = title; }

protected:
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;

private slots:
    void butCloseClick();
    void openLink(const QUrl &url);

private:
    void fitToTexts();
    void colourTitle();

    Ui::TAbout *m_ui;
    QString m_applicationTitle;
};
