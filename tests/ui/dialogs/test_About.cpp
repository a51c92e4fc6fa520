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
