#include "ui/i18n/TranslationMarker.h"
#include "ui/i18n/WindowTranslator.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMetaProperty>
#include <QTabWidget>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <gtest/gtest.h>
#include <memory>

// A caption that code can read but never set.
class ReadOnlyCaption : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString text READ text)
public:
    using QObject::QObject;
    QString text() const { return QStringLiteral("LED Color"); }
};

// A control that refers to a label the window owns.
class PartnerWidget : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(QLabel *partner READ partner)
public:
    PartnerWidget(QLabel *partner, QWidget *parent) : QWidget(parent), FPartner(partner) {}
    QLabel *partner() const { return FPartner; }

private:
    QLabel *FPartner;
};

namespace {

const QHash<QString, QString> kGerman = {
    {"Close", "Schliessen"},
    {"About", "Über"},
    {"Global config", "Grundkonfiguration"},
    {" STARTUP", " PROGRAMMSTART"},
    {"LED Color", "LED Farbe"},
    {"Auto Send", "Automatisch senden"},
    {"Auto send changes to CORVANE\r\nafter an idle time of 10 seconds",
     "Sende Änderungen zum CORVANE\r\nnach 10 Sekunden Inaktivität"},
    {"Send to CORVANE", "Sende zum CORVANE"},
    {"Protocol timing", "Protokoll Parameter"},
    {"Linewise\r\nSnake lines\r\nColumnwise\r\nSnake columns\r\n",
     "Zeilenweise\r\nZeilen in Schlangen\r\nSpaltenweise\r\nSpalten in Schlangen"},
};

QString german(const QString &s) { return kGerman.value(s, s); }
QString english(const QString &s) { return s; }

// Every string the window's objects show, one line per object and property,
// so a whole window can be compared before and after a switch.
std::string shownTexts(QObject *root)
{
    QStringList texts;
    QList<QObject *> objects = root->findChildren<QObject *>();
    objects.prepend(root);
    objects.removeIf([](QObject *o) { return qobject_cast<TTranslationMarker *>(o) != nullptr; });
    for (int n = 0; n < objects.size(); ++n) {
        QObject *obj = objects.at(n);
        const QString key = QStringLiteral("%1#%2 ").arg(obj->metaObject()->className()).arg(n);
        const QMetaObject *mo = obj->metaObject();
        for (int i = 0; i < mo->propertyCount(); ++i) {
            const QMetaProperty p = mo->property(i);
            if (p.metaType().id() == QMetaType::QString)
                texts.append(key + p.name() + '=' + p.read(obj).toString());
        }
        if (auto *tabs = qobject_cast<QTabWidget *>(obj)) {
            for (int i = 0; i < tabs->count(); ++i)
                texts.append(key + "tab" + QString::number(i) + '=' + tabs->tabText(i) + '|' + tabs->tabToolTip(i));
        }
        if (auto *combo = qobject_cast<QComboBox *>(obj)) {
            for (int i = 0; i < combo->count(); ++i)
                texts.append(key + "item" + QString::number(i) + '=' + combo->itemText(i));
        }
    }
    return texts.join('\n').toStdString();
}

} // namespace

class WindowTranslatorTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        window = std::make_unique<QMainWindow>();
        window->setWindowTitle("CORVANE Config");
        auto *tabs = new QTabWidget(window.get());
        window->setCentralWidget(tabs);

        auto *global = new QWidget;
        tabs->addTab(global, "Global config");
        tabs->setTabToolTip(0, "About");
        auto *layout = new QVBoxLayout(global);
        group = new QGroupBox(" STARTUP", global);
        layout->addWidget(group);
        colour = new QLabel("LED Color", group);
        empty = new QLabel(global);
        layout->addWidget(empty);
        autoSend = new QCheckBox("Auto Send", global);
        autoSend->setToolTip("Auto send changes to CORVANE\r\nafter an idle time of 10 seconds");
        layout->addWidget(autoSend);
        edit = new QLineEdit("Close", global);
        layout->addWidget(edit);

        auto *timing = new QWidget;
        tabs->addTab(timing, "Protocol timing");
        order = new QComboBox(timing);
        order->addItems({"Linewise", "Snake lines", "Columnwise", "Snake columns"});
        order->setCurrentIndex(2);

        auto *tools = window->addToolBar("tools");
        close = new QAction("Close", window.get());
        tools->addAction(close);
        send = tools->addAction("Send");
        send->setToolTip("Send to CORVANE");
    }

    std::unique_ptr<QMainWindow> window;
    QGroupBox *group = nullptr;
    QLabel *colour = nullptr;
    QLabel *empty = nullptr;
    QCheckBox *autoSend = nullptr;
    QLineEdit *edit = nullptr;
    QComboBox *order = nullptr;
    QAction *close = nullptr;
    QAction *send = nullptr;
};

TEST_F(WindowTranslatorTest, SwitchingLanguagesBackAndForthRestoresEveryText)
{
    const auto original = shownTexts(window.get());

    WindowTranslator::translate(window.get(), german);
    const auto inGerman = shownTexts(window.get());
    EXPECT_EQ(group->title(), " PROGRAMMSTART");
    EXPECT_EQ(colour->text(), "LED Farbe");
    EXPECT_EQ(autoSend->toolTip(), "Sende Änderungen zum CORVANE\r\nnach 10 Sekunden Inaktivität");
    auto *tabs = qobject_cast<QTabWidget *>(window->centralWidget());
    EXPECT_EQ(tabs->tabText(0), "Grundkonfiguration");
    EXPECT_EQ(tabs->tabToolTip(0), "Über");
    EXPECT_EQ(tabs->tabText(1), "Protokoll Parameter");
    EXPECT_EQ(order->itemText(3), "Spalten in Schlangen");
    EXPECT_EQ(send->toolTip(), "Sende zum CORVANE");
    EXPECT_EQ(close->text(), "Schliessen");
    EXPECT_EQ(close->toolTip(), "Schliessen");

    WindowTranslator::translate(window.get(), english);
    EXPECT_EQ(shownTexts(window.get()), original);

    WindowTranslator::translate(window.get(), german);
    EXPECT_EQ(shownTexts(window.get()), inGerman);
    WindowTranslator::translate(window.get(), english);
    EXPECT_EQ(shownTexts(window.get()), original);
}

TEST_F(WindowTranslatorTest, TextWrittenByCodeSinceTheLastSwitchIsTakenAsNew)
{
    WindowTranslator::translate(window.get(), german);
    colour->setText("Send to CORVANE");
    WindowTranslator::translate(window.get(), english);
    EXPECT_EQ(colour->text(), "Send to CORVANE");
    WindowTranslator::translate(window.get(), german);
    EXPECT_EQ(colour->text(), "Sende zum CORVANE");
    WindowTranslator::translate(window.get(), english);
    EXPECT_EQ(colour->text(), "Send to CORVANE");
}

// Empty texts are neither looked up nor recorded; user input and texts
// code cannot set are left alone.
TEST_F(WindowTranslatorTest, EmptyUserAndReadOnlyTextsAreLeftAlone)
{
    auto *readOnly = new ReadOnlyCaption(window.get());
    QStringList asked;
    WindowTranslator::translate(window.get(), [&asked](const QString &s) {
        asked.append(s);
        return s.isEmpty() ? QStringLiteral("filled") : german(s);
    });
    EXPECT_FALSE(asked.contains(QString()));
    WindowTranslator::translate(nullptr, german);
    WindowTranslator::translate(window.get(), {}); // nothing to look up with: left as it is
    EXPECT_TRUE(empty->text().isEmpty());
    EXPECT_TRUE(empty->toolTip().isEmpty());
    EXPECT_EQ(edit->text(), "Close");
    for (QObject *o : {static_cast<QObject *>(empty), static_cast<QObject *>(readOnly), static_cast<QObject *>(edit)})
        EXPECT_TRUE(o->findChildren<TTranslationMarker *>().isEmpty());
}

TEST_F(WindowTranslatorTest, IgnoredClassesAreSkippedWithWhatTheyOwn)
{
    // QCheckBox is ignored through its base class.
    WindowTranslator::translate(window.get(), german,
                                {&QGroupBox::staticMetaObject, &QAbstractButton::staticMetaObject});
    EXPECT_EQ(group->title(), " STARTUP");
    EXPECT_EQ(colour->text(), "LED Color");
    EXPECT_EQ(autoSend->text(), "Auto Send");
    EXPECT_EQ(close->text(), "Schliessen");
}

TEST(WindowTranslatorWalkTest, ObjectReachedTwiceIsTranslatedOnce)
{
    // The label is reached through the property first and then as a child.
    auto *label = new QLabel("LED Color");
    PartnerWidget root(label, nullptr);
    label->setParent(&root);
    int asked = 0;
    // The lookup is not idempotent, so a second visit would show.
    WindowTranslator::translate(&root, [&asked](const QString &s) {
        if (s == "LED Color")
            ++asked;
        return s + '!';
    });
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(label->text(), "LED Color!");
}

TEST(WindowTranslatorWalkTest, OwnedWindowsAreLeftToThemselves)
{
    // A dialog and a log window the window owns are separate windows; the
    // combo box's list pop-up is part of its combo box.
    QWidget root;
    auto *label = new QLabel("LED Color", &root);
    auto *dialog = new QWidget(&root, Qt::Dialog);
    dialog->setWindowTitle("About");
    auto *log = new QWidget(&root, Qt::Window);
    auto *logLabel = new QLabel("Close", log);
    auto *combo = new QComboBox(&root);
    combo->addItem("Close");
    combo->setToolTip("Close");
    const auto bang = [](const QString &s) { return s + '!'; };

    WindowTranslator::translate(&root, bang);
    EXPECT_EQ(label->text(), "LED Color!");
    EXPECT_EQ(combo->toolTip(), "Close!");
    EXPECT_EQ(dialog->windowTitle(), "About");
    EXPECT_EQ(logLabel->text(), "Close");
    EXPECT_TRUE(log->findChildren<TTranslationMarker *>().isEmpty());

    WindowTranslator::translate(dialog, bang);
    EXPECT_EQ(dialog->windowTitle(), "About!");
}

TEST(TranslationMarkerTest, RepeatedSwitchesDoNotGrowTheRecords)
{
    QObject owner;
    TTranslationMarker marker(&owner, &owner);
    for (int i = 0; i < 10; ++i) {
        marker.AddText("text", "Close", "Schliessen");
        marker.AddText("text", "Close", "Close");
    }
    EXPECT_EQ(marker.texts().size(), 2);
}

#include "test_window_translator.moc"
