#include "core/i18n/EmbeddedTexts.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/AboutInfo.h"
#include "ui/dialogs/LinkLabel.h"
#include "ui/dialogs/uAbout.h"

#include <QApplication>
#include <QDesktopServices>
#include <QMouseEvent>
#include <QPushButton>
#include <QUrl>
#include <gtest/gtest.h>

namespace {

// Stands in for the browser while a test clicks a link.
class UrlCatcher : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls << url; }
};

class AboutTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDesktopServices::setUrlHandler("https", &catcher, "open");
    }
    void TearDown() override
    {
        QDesktopServices::unsetUrlHandler("https");
    }

    UrlCatcher catcher;
    TAbout about;
};

QLabel *label(const TAbout &about, const char *name)
{
    return about.findChild<QLabel *>(name);
}

void click(QWidget *w)
{
    const QPointF at(2, 2);
    const QPointF global = w->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QMouseEvent release(QEvent::MouseButtonRelease, at, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w, &press);
    QApplication::sendEvent(w, &release);
}

} // namespace

TEST_F(AboutTest, EveryShowingSetsTitleAndInfoText)
{
    about.setApplicationTitle("CORVANE Config Tool v1.1.4");
    about.show();
    EXPECT_EQ(about.windowTitle(), "About");
    EXPECT_EQ(label(about, "LabApp")->text(), "CORVANE Config Tool v1.1.4");
    EXPECT_EQ(label(about, "htLabInfo")->text(), TranslateText(AboutInfoText));
    about.hide();

    about.setApplicationTitle("CORVANE Config Tool v1.1.5");
    about.show();
    EXPECT_EQ(label(about, "LabApp")->text(), "CORVANE Config Tool v1.1.5");
    about.hide();
}


TEST_F(AboutTest, LinksOpenTheMakersPages)
{
    auto *web = about.findChild<LinkLabel *>("LabWeb");
    auto *support = about.findChild<LinkLabel *>("LabSupport");
    ASSERT_TRUE(web && support);
    EXPECT_EQ(web->text(), AboutInfo::HomeCaption);
    EXPECT_EQ(support->text(), AboutInfo::SupportCaption);
    click(web);
    click(support);
    EXPECT_EQ(catcher.urls, QList<QUrl>({QUrl(AboutInfo::HomeUrl), QUrl(AboutInfo::SupportUrl)}));
}

TEST_F(AboutTest, CloseButtonEndsWithResult1)
{
    about.show();
    about.findChild<QPushButton *>("ButClose")->click();
    EXPECT_FALSE(about.isVisible());
    EXPECT_EQ(about.result(), 1);
}

TEST_F(AboutTest, ThePictureHasItsDesignSize)
{
    about.show();
    const QPixmap picture = label(about, "Image1")->pixmap();
    EXPECT_EQ(picture.deviceIndependentSize().toSize(), QSize(93, 200));
}

#include "test_About.moc"

TEST_F(AboutTest, LinksTakeThePalettesLinkColour)
{
    auto *web = about.findChild<LinkLabel *>("LabWeb");
    EXPECT_EQ(web->palette().color(QPalette::WindowText), web->palette().color(QPalette::Link));
    // A dark theme's light link colour reaches the links.
    QPalette dark = about.palette();
    dark.setColor(QPalette::Link, QColor(0x80, 0xC0, 0xFF));
    about.setPalette(dark);
    EXPECT_EQ(web->palette().color(QPalette::WindowText), QColor(0x80, 0xC0, 0xFF));
}

TEST_F(AboutTest, TheBlackTitleGivesWayToThePalettesTextWhereItCannotBeRead)
{
    const QColor text(0xEF, 0xF0, 0xF1);
    // Window colour; whether black keeps 4.5:1 against it (4.56:1 and 4.49:1 around the limit).
    const std::pair<QColor, bool> rows[] = {
        {Qt::white, true}, {QColor(0x75, 0x75, 0x75), true}, {QColor(0x74, 0x74, 0x74), false}, {QColor(0x31, 0x36, 0x3B), false}};
    for (const auto &[background, black] : rows) {
        QPalette p = about.palette();
        p.setColor(QPalette::Window, background);
        p.setColor(QPalette::WindowText, text);
        about.setPalette(p);
        EXPECT_EQ(label(about, "LabApp")->palette().color(QPalette::WindowText), black ? QColor(Qt::black) : text)
            << background.name().toStdString();
    }
}

TEST_F(AboutTest, TextsThatFitKeepTheDesignedPlaces)
{
    about.setApplicationTitle("CORVANE Config Tool v1.1.4");
    about.show();
    const std::pair<const char *, QRect> places[] = {
        {"LabApp", {114, 12, 193, 49}},   {"htLabInfo", {120, 67, 193, 73}}, {"LabWeb", {120, 146, 193, 17}},
        {"LabSupport", {120, 165, 193, 17}}, {"ButClose", {230, 190, 83, 25}}, {"Panel2", {1, 1, 106, 224}}};
    for (const auto &[name, place] : places)
        EXPECT_EQ(about.findChild<QWidget *>(name)->geometry(), place) << name;
    EXPECT_EQ(about.size(), QSize(324, 226));
}
