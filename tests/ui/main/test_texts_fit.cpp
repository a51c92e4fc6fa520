// Every text of the main window and its dialogs fits the room it has, in
// every embedded language, at every usual desktop font size, on every page,
// with the read-outs at both ends of their ranges. CTest runs this binary
// once per scale factor (--qt-scale-factor, which the test main turns into
// QT_SCALE_FACTOR before the application exists).
#include "test_main_support.h"

#include "core/i18n/LanguageManager.h"
#include "core/i18n/TranslateText.h"
#include "ui/dialogs/uAbout.h"

#include <QAbstractSpinBox>
#include <QGroupBox>
#include <QSpinBox>
#include <QStyleOptionButton>
#include <QTabBar>

namespace {

QStringList embeddedLanguages()
{
    QStringList codes;
    for (const TLanguage *l : *SystemLanguages) {
        if (l->Available)
            codes << l->ID;
    }
    return codes;
}

// The room a text-bearing widget needs; an invalid size for other widgets.
QSize roomNeeded(const QWidget *w)
{
    if (const auto *label = qobject_cast<const QLabel *>(w)) {
        if (label->text().isEmpty())
            return {};
        return label->wordWrap() ? QSize(0, label->heightForWidth(label->width())) : label->sizeHint();
    }
    if (const auto *button = qobject_cast<const QPushButton *>(w)) {
        // The text within the button's frame; a style's minimum width is no need.
        if (button->text().isEmpty())
            return {};
        QStyleOptionButton option;
        option.initFrom(button);
        option.text = button->text();
        const QRect inside = button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        return button->size() - inside.size() + button->fontMetrics().size(Qt::TextShowMnemonic, button->text());
    }
    if (const auto *button = qobject_cast<const QAbstractButton *>(w))
        return button->text().isEmpty() ? QSize() : button->sizeHint();
    if (qobject_cast<const QComboBox *>(w) || qobject_cast<const QAbstractSpinBox *>(w))
        return w->sizeHint();
    if (const auto *group = qobject_cast<const QGroupBox *>(w))
        return QSize(group->minimumSizeHint().width(), 0);
    if (const auto *bar = qobject_cast<const QTabBar *>(w))
        return QSize(bar->sizeHint().width(), 0);
    return {};
}

QString textOf(const QWidget *w)
{
    if (const auto *combo = qobject_cast<const QComboBox *>(w))
        return combo->currentText();
    if (const auto *group = qobject_cast<const QGroupBox *>(w))
        return group->title();
    return w->property("text").toString();
}

// Every shown widget of the window whose text is cut: too small for its
// text, or reaching out of its parent.
QStringList clippedTexts(QWidget *window)
{
    QStringList found;
    for (QWidget *w : window->findChildren<QWidget *>()) {
        if (!w->isVisible() || w->window() != window)
            continue;
        const QSize needs = roomNeeded(w);
        if (!needs.isValid())
            continue;
        const bool inside = w->parentWidget()->rect().contains(w->geometry());
        if (needs.width() > w->width() || needs.height() > w->height() || !inside)
            found << QStringLiteral("%1 \"%2\" needs %3x%4, has %5x%6%7")
                         .arg(w->objectName(), textOf(w))
                         .arg(needs.width()).arg(needs.height()).arg(w->width()).arg(w->height())
                         .arg(inside ? QString() : QStringLiteral(" (out of its parent)"));
    }
    // A tab bar or tool bar that runs out of room shows scroll or extension buttons.
    for (const QTabBar *bar : window->findChildren<QTabBar *>()) {
        for (const QToolButton *b : bar->findChildren<QToolButton *>())
            if (b->isVisible())
                found << QStringLiteral("tab bar scrolls");
    }
    if (const auto *ext = window->findChild<QWidget *>(QStringLiteral("qt_toolbar_ext_button")); ext && ext->isVisible())
        found << QStringLiteral("tool bar overflows");
    return found;
}

void setEverySpin(QWidget *window, bool toMaximum)
{
    for (QSpinBox *s : window->findChildren<QSpinBox *>())
        s->setValue(toMaximum ? s->maximum() : s->minimum());
}

using TextsFitTest = LocalisedWindowTest;

} // namespace

TEST_F(TextsFitTest, EveryEmbeddedLanguageAndDesktopFontOnEveryPage)
{
    bus.addSane(1);
    const QStringList languages = embeddedLanguages();
    ASSERT_GE(languages.size(), 2);
    // The factor CTest asked for is the one in force.
    const QByteArray factor = qgetenv("QT_SCALE_FACTOR");
    if (!factor.isEmpty())
        EXPECT_DOUBLE_EQ(qApp->devicePixelRatio(), factor.toDouble());
    const QFont desktop = QApplication::font();
    // What a message box shows while it is laid out.
    QStringList boxClipped;
    TMsgBox::setTestResponder([&](const TMsgBox::Call &call) {
        auto *box = const_cast<TMsgBox *>(call.box);
        box->show();
        boxClipped = clippedTexts(box);
        box->hide();
        return int(mrClose);
    });
    for (const int points : {9, 10, 11, 12}) {
        QFont font = desktop;
        font.setPointSize(points);
        QApplication::setFont(font);
        for (const QString &code : languages) {
            SCOPED_TRACE(code.toStdString() + " at " + std::to_string(points) + " pt");
            writeSettings("[CONFIG]\nLANGUAGE=" + code.toLatin1() + "\n");
            start();
            ASSERT_TRUE(waitFor([&] { return isOpen("SIM0001"); }));
            ASSERT_EQ(window->cbLang->currentData().toString(), code);

            QTabWidget *pages = find<QTabWidget>("pageConfig");
            for (const bool toMaximum : {false, true}) {
                // Both ends of every range: the longest frequencies and times.
                setEverySpin(window.get(), toMaximum);
                for (int page = 0; page < pages->count(); ++page) {
                    pages->setCurrentIndex(page);
                    settle();
                    const QStringList clipped = clippedTexts(window.get());
                    EXPECT_TRUE(clipped.isEmpty()) << "page " << page << (toMaximum ? " at the maxima:\n" : " at the minima:\n")
                                                   << clipped.join('\n').toStdString();
                }
            }
            // The matrix preview is shown whole.
            pages->setCurrentIndex(pages->indexOf(find<QWidget>("tabMatrix")));
            settle();
            const QLabel *preview = find<QLabel>("panImg");
            EXPECT_EQ(preview->visibleRegion().boundingRect(), QRect(0, 0, 380, 236));

            window->about()->show();
            settle();
            EXPECT_EQ(clippedTexts(window->about()).join('\n').toStdString(), "") << "About";
            window->about()->hide();
            // The longest question the window asks.
            window->msgBoxWindow()->Execute(TranslateText(QStringLiteral("Do you want to reset all parameters\r\nto their default values?")),
                                            mtConfirmation, QString(), mbYes | mbNo | mbClose, false);
            EXPECT_EQ(boxClipped.join('\n').toStdString(), "") << "message box";
            window.reset();
        }
    }
    QApplication::setFont(desktop);
}
